# Shared by the shell tests: count checks and print the closing line.
passed=0
failed=0
check() { # description, shell condition
    if eval "$2"; then
        passed=$((passed + 1))
    else
        echo "FAILED: $1" >&2
        failed=$((failed + 1))
    fi
}
finish() {
    echo "$passed passed, $failed failed"
    [ $failed = 0 ]
}
