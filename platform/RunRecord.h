// What the process says and how it ends, heard by whoever keeps a record of the run: each text it writes
// to standard output, each message box it shows, and its exit code. At most one sink listens; nothing
// here changes what is written, what is shown, or how the process ends.
#pragma once

#include <string_view>

#include "platform/Types.h"

namespace platform {

class RunRecordSink {
public:
    virtual void StandardOutput(std::string_view text) = 0;
    virtual void MessageBox(std::string_view text) = 0;
    virtual void ProcessEnding(UINT exitCode) = 0;

protected:
    ~RunRecordSink() = default;
};

// The sink that hears from now on; null for none.
void AttachRunRecord(RunRecordSink* sink);

// Told by the standard output and the end of the process of each backend, and by the framework for each
// message box, as it is shown.
void RecordStandardOutput(std::string_view text);
void RecordMessageBox(std::string_view text);
void RecordProcessEnding(UINT exitCode);

}  // namespace platform
