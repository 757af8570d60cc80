#!/bin/sh
# End to end, as a person would: the real Tavik.exe under wine64 on the display
# (xvfb-run), driven with xdotool, looked at with screenshots, checked in the INI.
#   e2e.sh TAVIK_EXE SHOT_DIR RESTORE_CLOCK_EXE
# TAVIK_E2E_EXE, when set, names the exe to run instead (make test32: the one
# taken out of the release zip).
set -u
exe=${TAVIK_E2E_EXE:-$1}
echo "e2e: $exe"
shots=$2
restore_clock=$3
: "${WINEPREFIX:?}"
here=$(cd "$(dirname "$0")/.." && pwd)
ini="$WINEPREFIX/drive_c/windows/tavik.ini"
mkdir -p "$shots"
. "$(dirname "$0")/check_lib.sh"

# A display of its own, so that no other test's drawing is in the pictures.
. "$here/tools/xvfb.sh"
start_xvfb
wm=""
unmanage() { # Wine back to drawing windows itself, as the prefix's set-up left it
    "$here/tools/wine-run.sh" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f \
        >/dev/null 2>&1
}
trap 'unmanage; "$here/tools/wine-server.sh" stop; kill $xvfb_pid $wm 2>/dev/null' EXIT
# Wine's desktop process stays on the display it was started on: start the
# prefix's server again on this one.
"$here/tools/wine-server.sh" stop
"$here/tools/wine-server.sh" start
pixel() { # file x y -> "r,g,b"
    convert "$1" -crop "1x1+$2+$3" -depth 8 txt:- | sed -n 's/.*(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1,\2,\3/p' | head -1
}
screen_pixel() { # x y -> "r,g,b" on the screen now
    import -window root "$shots/.now.png" && pixel "$shots/.now.png" "$1" "$2"
}
# Waits for a state rather than for a time: an emulated Wine is several times
# slower than a native one. The deadline only ends a wait for what never comes.
wait_for() { # condition, tenths of a second at most: true once it holds
    for i in $(seq 1 "$2"); do
        eval "$1" && return 0
        sleep 0.1
    done
    return 1
}
open_menu() { # x y: right-clicks there and waits until the menu shows beside the click
    import -window root "$shots/.before-menu.png"
    menu_spot="$(($1 + 40)) $(($2 + 8))"
    before_menu=$(pixel "$shots/.before-menu.png" $menu_spot)
    # Right after Always on top Wine lets a right click go by for up to a
    # second; a user would click again, and so does this.
    for attempt in 1 2 3; do
        xdotool mousemove "$1" "$2" click 3
        wait_for '[ "$(screen_pixel $menu_spot)" != "$before_menu" ]' 30 && return 0
    done
    return 1
}
ini_value() { # key
    tr -d '\r' <"$ini" | sed -n "s/^$1=//p" | head -1
}
find_window() { # up to a minute: an emulated Wine starts slowly. Only a shown
    # window: the X window of a hidden one may still be replaced.
    for i in $(seq 1 600); do
        id=$(xdotool search --onlyvisible --name '^Tavik$' 2>/dev/null | head -1)
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.1
    done
    return 1
}

printf '[Position]\r\nX=100\r\nY=100\r\nOnTop=0\r\nShowDate=0\r\n[Colors]\r\nHours=255, 0, 0\r\nMinutes=0, 255, 0\r\nSeconds=0, 0, 255\r\nDate=255, 255, 192\r\n' >"$ini"
"$here/tools/wine-run.sh" "$exe" some ignored arguments &
pid=$!
window=$(find_window) || { echo "FAILED: no Tavik window"; kill $pid; exit 1; }
wait_for '[ "$(screen_pixel 112 132 | cut -d, -f3)" -gt 100 ]' 300
geometry=$(xdotool getwindowgeometry "$window")
check "window at the stored position (got $geometry)" 'echo "$geometry" | grep -q "Position: 100,100"'
check "window is 64 x 64 (got $geometry)" 'echo "$geometry" | grep -q "Geometry: 64x64"'
import -window root "$shots/start.png"
background=$(pixel "$shots/start.png" 20 20)
check "corner shows what lies behind" '[ "$(pixel "$shots/start.png" 100 100)" = "$background" ]'
check "corner shows what lies behind" '[ "$(pixel "$shots/start.png" 163 163)" = "$background" ]'
check "dial face is blue" '[ "$(pixel "$shots/start.png" 112 132 | cut -d, -f3)" -gt 100 ]'
check "bezel at the top edge" '[ "$(pixel "$shots/start.png" 132 100)" != "$background" ]'
check "second hand drawn in its colour" \
    'convert "$shots/start.png" -crop 64x64+100+100 txt:- | grep -q "(0,0,255)"'

# A hover shows the tooltip with the long date.
xdotool mousemove 130 130
sleep 0.2
xdotool mousemove 132 133
sleep 0.2
xdotool mousemove 133 134
wait_for 'import -window root "$shots/tooltip.png" &&
    [ "$(convert "$shots/tooltip.png" -crop 300x40+0+164 +repage txt:- | grep -vc "$background")" -gt 20 ]' 100
check "tooltip shown below the window" \
    '[ "$(convert "$shots/tooltip.png" -crop 300x40+0+164 +repage txt:- | grep -vc "$background")" -gt 20 ]'

# Drag with the mouse.
xdotool mousemove 132 132 mousedown 1 mousemove 150 140 mousemove 190 160 mousemove 232 182 mouseup 1
wait_for 'xdotool getwindowgeometry "$window" | grep -q "Position: 200,150"' 100
geometry=$(xdotool getwindowgeometry "$window")
check "window followed the drag (got $geometry)" 'echo "$geometry" | grep -q "Position: 200,150"'

# Right click: the menu opens at the click; Always on top, then Show date.
open_menu 232 182
import -window root "$shots/menu.png"
check "menu opened at the click" '[ "$(pixel "$shots/menu.png" 240 190)" != "$(pixel "$shots/start.png" 240 190)" ]'
xdotool key a
wait_for '[ "$(ini_value OnTop)" = 1 ]' 100
check "Always on top saved" '[ "$(ini_value OnTop)" = 1 ]'
check "position saved with the command" '[ "$(ini_value X)" = 200 ] && [ "$(ini_value Y)" = 150 ]'
import -window root "$shots/before-date.png"
open_menu 232 182
xdotool key s
wait_for '[ "$(ini_value ShowDate)" = 1 ]' 100
check "Show date saved" '[ "$(ini_value ShowDate)" = 1 ]'
wait_for 'import -window root "$shots/date.png" &&
    convert "$shots/date.png" -crop 64x20+200+185 txt:- | grep -q "(255,255,192)"' 100
check "the 1 of 12 vanished with the label on" \
    '! convert "$shots/date.png" -crop 9x8+228+160 txt:- | grep -q "(210,210,208)"'
check "the 1 of 12 showed before" \
    'convert "$shots/before-date.png" -crop 9x8+228+160 txt:- | grep -q "(210,210,208)"'
check "label drawn below the centre" \
    'convert "$shots/date.png" -crop 64x20+200+185 txt:- | grep -q "(255,255,192)"'

# Close from the menu: the process ends with 0 and the INI holds the new position.
open_menu 232 182
xdotool key c
status=124
for i in $(seq 1 50); do
    if ! kill -0 $pid 2>/dev/null; then
        wait $pid
        status=$?
        break
    fi
    sleep 0.1
done
[ $status = 124 ] && kill $pid 2>/dev/null
check "exit code 0 (got $status)" '[ $status = 0 ]'
check "INI holds the new position" '[ "$(ini_value X)" = 200 ] && [ "$(ini_value Y)" = 150 ]'
check "INI keeps the switches" '[ "$(ini_value OnTop)" = 1 ] && [ "$(ini_value ShowDate)" = 1 ]'
check "INI keeps the colours" '[ "$(ini_value Seconds)" = "0, 0, 255" ]'

# --- A second session: placement, a second instance, dialogs, session end. ---
find_named() { # exact title -> the visible window
    for i in $(seq 1 50); do
        id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1)
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.1
    done
    return 1
}
painted() { # window: waits until its centre is drawn (no longer what lay behind it)
    read wx wy ww wh <<END
$(position_of "$1") $(size_of "$1")
END
    behind=$(pixel "$shots/.before-menu.png" $((wx + ww / 2)) $((wy + wh / 2)))
    wait_for '[ "$(screen_pixel $((wx + ww / 2)) $((wy + wh / 2)))" != "$behind" ]' 100
}
gone() { # exact title: true once no such window is visible
    for i in $(seq 1 30); do
        xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1 || return 0
        sleep 0.1
    done
    return 1
}
position_of() { # window -> "x y"
    xdotool getwindowgeometry "$1" | sed -n 's/.*Position: \(-*[0-9]*\),\(-*[0-9]*\).*/\1 \2/p'
}
size_of() { # window -> "w h"
    xdotool getwindowgeometry "$1" | sed -n 's/.*Geometry: \([0-9]*\)x\([0-9]*\).*/\1 \2/p'
}
start_clock() { # INI text
    printf "$1" >"$ini"
    "$here/tools/wine-run.sh" "$exe" &
    pid=$!
    window=$(find_window) || window=""
    wait_for 'xdotool search --onlyvisible --name "^Tavik\$" >/dev/null 2>&1' 300
}
close_clock() { # through the menu's Close, waiting for the process to end
    open_menu "$1" "$2"
    xdotool mousemove $(($1 + 40)) $(($2 + 62)) click 1
    for i in $(seq 1 100); do
        kill -0 $pid 2>/dev/null || break
        sleep 0.1
    done
    stop_clock
}
stop_clock() {
    kill $pid 2>/dev/null
    wait $pid 2>/dev/null
}
menu_keys() { # keys typed into the context menu of the clock at 40,40
    open_menu 72 72
    xdotool key "$@"
}

# A stored position far off every screen starts inside the work area.
start_clock '[Position]\r\nX=-5000\r\nY=-5000\r\n'
read px py <<END
$(position_of "$window")
END
check "off-screen position brought onto the screen (got $px,$py)" \
    '[ "$px" -ge 0 ] && [ "$py" -ge 0 ] && [ "$px" -le 960 ] && [ "$py" -le 704 ]'
stop_clock

# A negative position that is partly on screen is used as it stands, and a
# second instance shows a second dial at the same place.
start_clock '[Position]\r\nX=-20\r\nY=10\r\n'
first=$pid
check "partly visible negative position kept (got $(position_of "$window"))" \
    '[ "$(position_of "$window")" = "-20 10" ]'
"$here/tools/wine-run.sh" "$exe" &
second=$!
wait_for '[ "$(xdotool search --onlyvisible --name "^Tavik\$" | wc -l)" = 2 ]' 300
dials=$(xdotool search --onlyvisible --name '^Tavik$' | wc -l)
check "a second instance shows a second dial (got $dials)" '[ "$dials" = 2 ]'
same=$(for w in $(xdotool search --onlyvisible --name '^Tavik$'); do position_of "$w"; done | sort -u)
check "both dials at the stored position (got $same)" '[ "$same" = "-20 10" ]'
kill $first $second 2>/dev/null
wait $first $second 2>/dev/null

start_clock '[Position]\r\nX=40\r\nY=40\r\n[Colors]\r\nHours=255,0,0\r\nMinutes=0, 255, 0\r\n'

# About: centred in the work area; Enter, Escape and the close box close it.
for way in Return Escape closebox; do
    menu_keys Up Return
    box=$(find_named 'About Tavik...') || box=""
    check "About box opened ($way)" '[ -n "$box" ]'
    [ -n "$box" ] || continue
    read bx by bw bh <<END
$(position_of "$box") $(size_of "$box")
END
    cx=$((bx + bw / 2))
    cy=$((by + bh / 2))
    check "About box centred (got centre $cx,$cy)" \
        '[ $cx -ge 502 ] && [ $cx -le 522 ] && [ $cy -ge 374 ] && [ $cy -le 394 ]'
    [ $way = Return ] && import -window root "$shots/about.png"
    if [ $way = closebox ]; then
        xdotool mousemove $((bx + bw - 12)) $((by + 11)) click 1
    else
        xdotool key $way
    fi
    check "$way closed the About box" 'gone "About Tavik..."'
done

# The colour dialog: Cancel keeps the colour and still rewrites the file.
menu_keys Up Up Right h
dialog=$(find_named Color) || dialog=""
check "colour dialog opened for Hours" '[ -n "$dialog" ]'
painted "$dialog"
import -window root "$shots/color.png"
xdotool key Escape
check "Cancel closed the colour dialog" 'gone Color'
check "Cancel kept the colour and rewrote the file (Hours=$(ini_value Hours))" \
    '[ "$(ini_value Hours)" = "255, 0, 0" ]'

# The dialog opens for the other two colour items as well.
for item in s d; do
    menu_keys Up Up Right $item
    dialog=$(find_named Color) || dialog=""
    check "colour dialog opened for item $item" '[ -n "$dialog" ]'
    painted "$dialog"
    xdotool key Escape
    check "Cancel closed the colour dialog (item $item)" 'gone Color'
done

# OK with a typed colour: the minute hand turns orange on screen and in the file.
menu_keys Up Up Right m
dialog=$(find_named Color) || dialog=""
check "colour dialog opened for Minutes" '[ -n "$dialog" ]'
painted "$dialog"
xdotool key alt+r ctrl+a type 255
xdotool key alt+g ctrl+a type 128
xdotool key alt+b ctrl+a type 0
xdotool key Return
check "OK closed the colour dialog" 'gone Color'
wait_for '[ "$(ini_value Minutes)" = "255, 128, 0" ]' 100
wait_for 'import -window root "$shots/orange.png" &&
    convert "$shots/orange.png" -crop 64x64+40+40 txt:- | grep -q "(255,128,0)"' 100
check "typed colour saved (Minutes=$(ini_value Minutes))" '[ "$(ini_value Minutes)" = "255, 128, 0" ]'
import -window root "$shots/orange.png"
check "minute hand drawn in the new colour" \
    'convert "$shots/orange.png" -crop 64x64+40+40 txt:- | grep -q "(255,128,0)"'

# A session end saves a position moved by dragging, with no command in between.
xdotool mousemove 72 72 mousedown 1 mousemove 100 100 mousemove 172 152 mouseup 1
wait_for '[ "$(position_of "$window")" = "140 120" ]' 100
check "the drag moved the clock (got $(position_of "$window"))" '[ "$(position_of "$window")" = "140 120" ]'
"$here/tools/wine-run.sh" wineboot --end-session >/dev/null 2>&1
wait_for '[ "$(ini_value X)" = 140 ]' 100
check "session end saved the dragged position (X=$(ini_value X) Y=$(ini_value Y))" \
    '[ "$(ini_value X)" = 140 ] && [ "$(ini_value Y)" = 120 ]'
stop_clock

# --- Under a window manager with a taskbar (IceWM). Wine lets it manage windows. ---
"$here/tools/wine-run.sh" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d Y /f >/dev/null 2>&1
icewm >/dev/null 2>&1 &
wm=$!
wait_for 'xprop -root _NET_WORKAREA 2>/dev/null | grep -q "= "' 100
# Wine reads the work area when its desktop starts: started again, as on a
# desktop whose window manager runs before any program.
"$here/tools/wine-server.sh" stop
"$here/tools/wine-server.sh" start
"$here/tools/wine-run.sh" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d Y /f >/dev/null 2>&1
# The work area: the screen without IceWM's taskbar.
read work_x work_y work_w work_h <<END
$(xprop -root _NET_WORKAREA | sed 's/.*= //' | tr -d ',' | cut -d' ' -f1-4)
END
dial_pixels() { # screenshot x y -> how many pixels of the 64 x 64 square at x,y are dial blue
    convert "$1" -crop "64x64+$2+$3" -depth 8 txt:- |
        sed -n 's/.*(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1 \2 \3/p' |
        awk '$3 > 100 && $1 < 80 && $2 < 80 {n++} END {print n + 0}'
}
cover() { # raises xclock over the clock's square at 300,300; true once a screenshot shows it covered
    xdotool windowactivate --sync "$xclock" >/dev/null 2>&1
    xdotool windowraise "$xclock"
    shot="$shots/$1.png"
    wait_for 'import -window root "$shot" && [ "$(dial_pixels "$shot" 300 300)" -lt 100 ]' 30
}
menu_item() { # clicks the context menu item at the given row offset (Restore 11 ... Show date 105)
    open_menu 332 332
    xdotool mousemove 372 $((332 + $1)) click 1
}
net_state() { xprop -id "$window" _NET_WM_STATE; }

start_clock '[Position]\r\nX=300\r\nY=300\r\nOnTop=1\r\n'
xclock -geometry 140x140+262+262 >/dev/null 2>&1 &
xclock_pid=$!
for i in $(seq 1 100); do
    xclock=$(xdotool search --class xclock 2>/dev/null | tail -1)
    [ -n "$xclock" ] && break
    sleep 0.1
done
cover ontop-start
check "always on top from the start: xclock raised over the clock does not cover it" \
    '[ "$(dial_pixels "$shots/ontop-start.png" 300 300)" -gt 1000 ]'
check "the window manager keeps it above (got $(net_state))" 'net_state | grep -q _NET_WM_STATE_ABOVE'
menu_item 88
wait_for '[ "$(ini_value OnTop)" = 0 ]' 100
cover ontop-off
check "always on top switched off: xclock covers the clock" \
    '[ "$(dial_pixels "$shots/ontop-off.png" 300 300)" -lt 100 ] && [ "$(ini_value OnTop)" = 0 ]'
xdotool windowminimize "$xclock"
wait_for 'xprop -id "$xclock" WM_STATE | grep -q Iconic' 50
menu_item 88
wait_for '[ "$(ini_value OnTop)" = 1 ]' 100
cover ontop-on
check "always on top switched on again: the clock stays above xclock" \
    '[ "$(dial_pixels "$shots/ontop-on.png" 300 300)" -gt 1000 ] && [ "$(ini_value OnTop)" = 1 ]'
kill $xclock_pid 2>/dev/null
wait $xclock_pid 2>/dev/null

# Minimize gives a taskbar entry. However the clock comes back (the window
# manager's activation, as a click on that entry, another program's
# ShowWindow(SW_RESTORE), the Restore command) it is whole at its place, without one.
iconic='xprop -id "$window" WM_STATE | grep -q Iconic'
for way in taskbar show command; do
    menu_item 45
    wait_for "$iconic" 50
    check "minimized clock has a taskbar entry (before: $way; got $(net_state))" \
        '! net_state | grep -q SKIP_TASKBAR && eval "$iconic"'
    case $way in
    taskbar) xdotool windowactivate "$window" >/dev/null 2>&1 ;;
    *) "$here/tools/wine-run.sh" "$restore_clock" $way ;;
    esac
    wait_for '! eval "$iconic" && net_state | grep -q SKIP_TASKBAR' 100
    wait_for 'import -window root "$shots/restored-$way.png" &&
        [ "$(dial_pixels "$shots/restored-$way.png" 300 300)" -gt 1000 ]' 100
    check "restored ($way): the dial is back at its place" \
        '[ "$(dial_pixels "$shots/restored-$way.png" 300 300)" -gt 1000 ]'
    check "restored ($way): no taskbar entry (got $(net_state))" 'net_state | grep -q SKIP_TASKBAR'
done
close_clock 332 332
check "the position before minimizing is kept (X=$(ini_value X) Y=$(ini_value Y))" \
    '[ "$(ini_value X)" = 300 ] && [ "$(ini_value Y)" = 300 ]'

# The tooltip shows whole: in the middle, at the top-left corner and at the bottom right.
tip_box() { # x y of the clock -> "width height left top" of the tooltip's white
    xdotool mousemove $(($1 + 30)) $(($2 + 20))
    sleep 0.2
    xdotool mousemove $(($1 + 32)) $(($2 + 22))
    sleep 0.2
    xdotool mousemove $(($1 + 33)) $(($2 + 23))
    tip=""
    wait_for 'tip=$(xdotool search --onlyvisible --class tavik 2>/dev/null | grep -vx "$window" | head -1)
        [ -n "$tip" ]' 100
    [ -n "$tip" ] || { echo "0 0 -1 -1"; return; }
    # Placed as it shows; then the same place twice running.
    last=""
    wait_for 'box="$(size_of "$tip") $(position_of "$tip")"; [ "$box" = "$last" ] || { last=$box; false; }' 50
    import -window root "$shots/tooltip-$1-$2.png"
    echo "$box"
}
for place in "480 300" "0 0" "960 680"; do
    set -- $place
    start_clock "[Position]\r\nX=$1\r\nY=$2\r\n"
    read tw th tx ty <<END
$(tip_box $1 $2)
END
    [ "$place" = "480 300" ] && whole=$tw
    check "tooltip of the clock at $1,$2 lies in the work area $work_x,$work_y ${work_w}x$work_h (got ${tw}x$th at $tx,$ty)" \
        '[ "$tx" -ge $work_x ] && [ "$ty" -ge $work_y ] && [ $((tx + tw)) -le $((work_x + work_w)) ] &&
         [ $((ty + th)) -le $((work_y + work_h)) ]'
    check "tooltip of the clock at $1,$2 is as wide as its text (got $tw, in the middle $whole)" \
        '[ "$tw" -ge "$whole" ] && [ "$th" -ge 10 ]'
    stop_clock
done
unmanage

finish
