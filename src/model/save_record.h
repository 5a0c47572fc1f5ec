#pragma once
// One save as the save journal keeps it: where it came from, the values it
// writes and deletes, and its steps; and the text of its record file. The
// record is written whole before the save changes anything; each step then
// appends a line when it is done, and the end of the save a line with its
// state. Names and data are written in hexadecimal, so that any bytes keep
// to one line. Free of windows.h.
#include <cstdint>
#include <string>
#include <vector>

// A value a save writes or, with bDelete, deletes; key as the parameter
// store numbers its keys.
struct CSaveRecordValue {
    int key = 0;
    std::string name;
    bool bDelete = false;
    uint32_t type = 0;
    std::string data;
};

// A miniport a save installs.
struct CSaveRecordMiniport {
    std::string service;
    std::string file;
    std::string description;
    bool bCopyFile = false;
};

enum class SaveStepKind { Install, Values, Restart, TellDriver, TellController };

struct CSaveStep {
    SaveStepKind kind = SaveStepKind::Values;
    CSaveRecordMiniport miniport; // what an Install step installs
    bool bDone = false;
};

// Incomplete while a step is not done: a save that runs, or one that ended
// before its steps did (killed, or a step failed).
enum class SaveRecordState { Incomplete, Complete, Discarded, Superseded };

struct CSaveRecord {
    std::string id;     // names the record's files; ids sort in time order
    std::string time;   // local time, "YYYY-MM-DD HH:MM:SS"
    std::string source; // the sheet and its user, or the command and its file
    // Names in UTF-8 and data as stored, as the command line reads and
    // writes them; otherwise in the ANSI code page, as the pages do.
    bool bWide = false;
    std::vector<CSaveRecordValue> values;
    std::vector<CSaveStep> steps;
    SaveRecordState state = SaveRecordState::Incomplete;
    std::string supersededBy; // the id of the save that superseded it

    bool AllStepsDone() const;
};

// What a step does, as a line of a message: "restart the system board
// service".
std::string DescribeStep(const CSaveRecord& record, const CSaveStep& step);

// The record as a save first writes it; its state and done marks are
// appended later.
std::string FormatSaveRecord(const CSaveRecord& record);
std::string StepDoneLine(size_t step);
std::string StateLine(SaveRecordState state, const std::string& by = std::string());

// Reads a record and the lines appended to it. False when the text is no
// record or a line cannot be read; a last line without its end (the writer
// was stopped in the middle of it) is left out.
bool ParseSaveRecord(const std::string& text, CSaveRecord* record);
