// cvchecksum: prints the checksum that a program file's header holds and the one that Windows computes
// from its bytes, through imagehlp's MapFileAndCheckSumA, on one line:
//   header 0xHHHHHHHH computed 0xCCCCCCCC
// Exits 1 when the file cannot be opened, mapped or read.
//
//   cvchecksum FILE
#include "cvtool.h"

#include <imagehlp.h>

int main(int argc, char** argv) {
    if (argc != 2)
        return cvtool::Complain(cvtool::kUsage, "usage: cvchecksum FILE");
    DWORD header = 0;
    DWORD computed = 0;
    const DWORD result = MapFileAndCheckSumA(argv[1], &header, &computed);
    if (result != CHECKSUM_SUCCESS)
        return cvtool::Complain(cvtool::kFailed, cvtool::Format("MapFileAndCheckSumA %s: %lu", argv[1],
                                                                static_cast<unsigned long>(result))
                                                     .c_str());
    cvtool::Print(cvtool::Format("header 0x%08lX computed 0x%08lX", static_cast<unsigned long>(header),
                                 static_cast<unsigned long>(computed)));
    return cvtool::kOk;
}
