// One of two instances that save their own records into tavik.ini.
//   profile_writer A|B ROUNDS        in turn with the other: before each save it
//                                    checks that the file holds exactly the
//                                    other's record; the exit code is the number
//                                    of rounds in which it did not
//   profile_writer A|B ROUNDS race   at once with the other, from the moment the
//                                    event TavikGo is set, as fast as it can
// Or another clock's hand on the save lock:
//   profile_writer hold              takes it, sets TavikHeld, lets go once
//                                    TavikLetGo is set
//   profile_writer foreign           the same with a lock it makes as another
//                                    user's clock would: the clocks' DACL, and
//                                    an owner that is not this user (SYSTEM)
//   profile_writer die               takes it, sets TavikHeld and ends holding it
//   profile_writer take              exit code 0 if it can take it at once
#include "profile_records.h"

#include <sddl.h>
#include <stdlib.h>
#include <string.h>

static HANDLE ForeignLock()
{
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorA(
            "O:SY" SAVE_LOCK_DACL, SDDL_REVISION_1, &descriptor, nullptr)) {
        return nullptr;
    }
    SECURITY_ATTRIBUTES attributes = {sizeof attributes, descriptor, FALSE};
    HANDLE lock = CreateMutexA(&attributes, FALSE, SAVE_LOCK_NAME);
    LocalFree(descriptor);
    return lock;
}

static int HandOnTheLock(const char* how)
{
    HANDLE lock = strcmp(how, "foreign") == 0 ? ForeignLock() : OpenSaveLock();
    bool take = strcmp(how, "take") == 0;
    DWORD taken = lock != nullptr ? WaitForSingleObject(lock, take ? 0 : INFINITE) : WAIT_FAILED;
    if (take) {
        if (taken == WAIT_OBJECT_0 || taken == WAIT_ABANDONED) {
            ReleaseMutex(lock);
        }
        return taken == WAIT_OBJECT_0 ? 0 : 1;
    }
    HANDLE letGo = OpenEventA(SYNCHRONIZE, FALSE, "TavikLetGo");
    if (taken != WAIT_OBJECT_0 || letGo == nullptr ||
        !SetEvent(OpenEventA(EVENT_MODIFY_STATE, FALSE, "TavikHeld"))) {
        return 251;
    }
    if (strcmp(how, "die") == 0) {
        ExitProcess(0); // the lock is abandoned
    }
    WaitForSingleObject(letGo, INFINITE);
    return ReleaseMutex(lock) ? 0 : 252;
}

int main(int argc, char** argv)
{
    if (argc == 2) {
        return HandOnTheLock(argv[1]);
    }
    if (argc < 3 || argc > 4 || (argv[1][0] != 'A' && argv[1][0] != 'B')) {
        fprintf(stderr, "usage: profile_writer A|B ROUNDS [race]\n");
        return 255;
    }
    char self = argv[1][0];
    char other = self == 'A' ? 'B' : 'A';
    int rounds = atoi(argv[2]);
    if (argc == 4) {
        HANDLE go = OpenEventA(SYNCHRONIZE, FALSE, "TavikGo");
        if (go == nullptr || WaitForSingleObject(go, INFINITE) != WAIT_OBJECT_0) {
            return 254;
        }
        for (int i = 0; i < rounds; i++) {
            SaveSettings(RecordOf(self));
        }
        return 0;
    }
    char name[32];
    snprintf(name, sizeof name, "TavikTurn%c", self);
    HANDLE myTurn = OpenEventA(EVENT_ALL_ACCESS, FALSE, name);
    snprintf(name, sizeof name, "TavikTurn%c", other);
    HANDLE theirTurn = OpenEventA(EVENT_ALL_ACCESS, FALSE, name);
    if (myTurn == nullptr || theirTurn == nullptr) {
        return 254;
    }
    DialSettings mine = RecordOf(self);
    DialSettings theirs = RecordOf(other);
    int mismatches = 0;
    for (int i = 0; i < rounds; i++) {
        if (WaitForSingleObject(myTurn, INFINITE) != WAIT_OBJECT_0) {
            return 253;
        }
        FlushProfileCache();
        if (!SameRecord(LoadSettings(), theirs) ||
            WithoutCarriageReturns(ReadProfile()) != CanonicalFile(theirs)) {
            mismatches++;
        }
        SaveSettings(mine);
        FlushProfileCache();
        SetEvent(theirTurn);
    }
    return mismatches;
}
