// One of two instances that save their own records into tavik.ini.
//   profile_writer A|B ROUNDS        in turn with the other: before each save it
//                                    checks that the file holds exactly the
//                                    other's record; the exit code is the number
//                                    of rounds in which it did not
//   profile_writer A|B ROUNDS race   at once with the other, from the moment the
//                                    event TavikGo is set, as fast as it can
#include "profile_records.h"

#include <stdlib.h>

int main(int argc, char** argv)
{
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
