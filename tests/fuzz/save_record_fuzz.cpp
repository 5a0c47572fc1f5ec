// A save journal's record file as the next start or /import reads it back,
// whatever it holds (a line cut by a kill, bytes someone wrote): a record
// that reads is written back to the same record, its done marks and state
// included.
#include "fuzz_support.h"
#include "model/save_record.h"

namespace {
bool SameValues(const CSaveRecordValue& a, const CSaveRecordValue& b) {
    return a.key == b.key && a.name == b.name && a.bDelete == b.bDelete &&
           (a.bDelete || (a.type == b.type && a.data == b.data));
}

bool SameSteps(const CSaveStep& a, const CSaveStep& b) {
    return a.kind == b.kind && a.bDone == b.bDone && a.miniport.service == b.miniport.service &&
           a.miniport.file == b.miniport.file && a.miniport.description == b.miniport.description &&
           a.miniport.bCopyFile == b.miniport.bCopyFile;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CSaveRecord record;
    if (!ParseSaveRecord(InputText(data, size), &record))
        return 0;
    std::string text = FormatSaveRecord(record);
    for (size_t i = 0; i < record.steps.size(); ++i)
        if (record.steps[i].bDone)
            text += StepDoneLine(i);
    if (record.state != SaveRecordState::Incomplete)
        text += StateLine(record.state, record.supersededBy);
    CSaveRecord again;
    FUZZ_CHECK(ParseSaveRecord(text, &again));
    FUZZ_CHECK(again.id == record.id && again.time == record.time &&
               again.source == record.source && again.bWide == record.bWide &&
               again.state == record.state && again.supersededBy == record.supersededBy);
    FUZZ_CHECK(again.values.size() == record.values.size() &&
               again.steps.size() == record.steps.size());
    for (size_t i = 0; i < record.values.size(); ++i)
        FUZZ_CHECK(SameValues(again.values[i], record.values[i]));
    for (size_t i = 0; i < record.steps.size(); ++i)
        FUZZ_CHECK(SameSteps(again.steps[i], record.steps[i]));
    return 0;
}
