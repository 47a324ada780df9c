#include "platform/RunRecord.h"

namespace platform {

namespace {

RunRecordSink* theSink = nullptr;

}  // namespace

void AttachRunRecord(RunRecordSink* sink) {
    theSink = sink;
}

void RecordStandardOutput(std::string_view text) {
    if (theSink != nullptr) {
        theSink->StandardOutput(text);
    }
}

void RecordMessageBox(std::string_view text) {
    if (theSink != nullptr) {
        theSink->MessageBox(text);
    }
}

void RecordProcessEnding(UINT exitCode) {
    if (theSink != nullptr) {
        theSink->ProcessEnding(exitCode);
    }
}

}  // namespace platform
