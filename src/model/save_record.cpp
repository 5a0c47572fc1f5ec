#include "model/save_record.h"

#include <cstdlib>
#include <sstream>

#include "framework/number_text.h"

namespace {
const char kHeader[] = "MIRANDEL SAVE 1";
const char* const kStepWords[] = {"install", "values", "restart", "tell-driver", "tell-controller"};
const char* const kStateWords[] = {"incomplete", "complete", "discarded", "superseded"};

// "x" and two hexadecimal digits a byte: an empty text is "x" alone.
std::string Hex(const std::string& bytes) {
    static const char kDigits[] = "0123456789abcdef";
    std::string hex = "x";
    for (unsigned char byte : bytes) {
        hex += kDigits[byte >> 4];
        hex += kDigits[byte & 0xF];
    }
    return hex;
}

bool Unhex(const std::string& hex, std::string* bytes) {
    if (hex.empty() || hex[0] != 'x' || hex.size() % 2 != 1)
        return false;
    bytes->clear();
    for (size_t i = 1; i < hex.size(); i += 2) {
        int high = HexDigitValue(hex[i]), low = HexDigitValue(hex[i + 1]);
        if (high < 0 || low < 0)
            return false;
        bytes->push_back(static_cast<char>(high * 16 + low));
    }
    return true;
}

// A decimal number of at most nine digits.
bool Number(const std::string& text, long* value) {
    if (text.empty() || text.size() > 9 ||
        text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    *value = std::strtol(text.c_str(), nullptr, 10);
    return true;
}

std::vector<std::string> Words(const std::string& line) {
    std::vector<std::string> words;
    std::istringstream in(line);
    for (std::string word; in >> word;)
        words.push_back(word);
    return words;
}

template <size_t N> int WordIndex(const char* const (&words)[N], const std::string& word) {
    for (size_t i = 0; i < N; ++i)
        if (word == words[i])
            return static_cast<int>(i);
    return -1;
}

bool ReadLine(const std::vector<std::string>& w, CSaveRecord* record) {
    const std::string& head = w[0];
    if (head == "id" || head == "time") {
        std::string text;
        for (size_t i = 1; i < w.size(); ++i)
            text += (i > 1 ? " " : "") + w[i];
        (head == "id" ? record->id : record->time) = text;
        return true;
    }
    if (head == "source" && w.size() == 2)
        return Unhex(w[1], &record->source);
    if (head == "encoding" && w.size() == 2 && (w[1] == "wide" || w[1] == "ansi")) {
        record->bWide = w[1] == "wide";
        return true;
    }
    if (head == "value" && w.size() >= 4) {
        CSaveRecordValue value;
        long key = 0, type = 0;
        if (!Number(w[1], &key) || !Unhex(w[2], &value.name))
            return false;
        value.key = static_cast<int>(key);
        if (w[3] == "delete" && w.size() == 4) {
            value.bDelete = true;
        } else if (w[3] == "set" && w.size() == 6 && Number(w[4], &type) &&
                   Unhex(w[5], &value.data)) {
            value.type = static_cast<uint32_t>(type);
        } else {
            return false;
        }
        record->values.push_back(value);
        return true;
    }
    if (head == "step" && w.size() >= 2) {
        int kind = WordIndex(kStepWords, w[1]);
        if (kind < 0)
            return false;
        CSaveStep step;
        step.kind = static_cast<SaveStepKind>(kind);
        if (step.kind == SaveStepKind::Install) {
            CSaveRecordMiniport& m = step.miniport;
            if (w.size() != 6 || !Unhex(w[2], &m.service) || !Unhex(w[3], &m.file) ||
                !Unhex(w[4], &m.description) || (w[5] != "0" && w[5] != "1"))
                return false;
            m.bCopyFile = w[5] == "1";
        } else if (w.size() != 2) {
            return false;
        }
        record->steps.push_back(step);
        return true;
    }
    if (head == "done" && w.size() == 2) {
        long step = 0;
        if (!Number(w[1], &step) || static_cast<size_t>(step) >= record->steps.size())
            return false;
        record->steps[static_cast<size_t>(step)].bDone = true;
        return true;
    }
    if (head == "state" && w.size() >= 2) {
        int state = WordIndex(kStateWords, w[1]);
        // Only a superseded record names the save that superseded it.
        bool bBy = state == static_cast<int>(SaveRecordState::Superseded);
        if (state <= 0 || w.size() != (bBy ? 3u : 2u))
            return false;
        record->state = static_cast<SaveRecordState>(state);
        record->supersededBy = w.size() == 3 ? w[2] : std::string();
        return true;
    }
    return false;
}
} // namespace

bool CSaveRecord::AllStepsDone() const {
    for (const CSaveStep& step : steps)
        if (!step.bDone)
            return false;
    return true;
}

std::string DescribeStep(const CSaveRecord& record, const CSaveStep& step) {
    switch (step.kind) {
    case SaveStepKind::Install:
        return "install the miniport \"" + step.miniport.service + "\"";
    case SaveStepKind::Values: {
        size_t deleted = 0;
        for (const CSaveRecordValue& value : record.values)
            deleted += value.bDelete ? 1 : 0;
        return "store the values (" + std::to_string(record.values.size() - deleted) +
               " to write, " + std::to_string(deleted) + " to delete)";
    }
    case SaveStepKind::Restart:
        return "restart the system board service";
    case SaveStepKind::TellDriver:
        return "tell the hot-swap driver to take up its parameters";
    case SaveStepKind::TellController:
        return "tell the hot-swap controller to take up its parameters";
    }
    return std::string();
}

std::string FormatSaveRecord(const CSaveRecord& record) {
    std::string text = std::string(kHeader) + "\n";
    text += "id " + record.id + "\n";
    text += "time " + record.time + "\n";
    text += "source " + Hex(record.source) + "\n";
    text += std::string("encoding ") + (record.bWide ? "wide" : "ansi") + "\n";
    for (const CSaveRecordValue& value : record.values) {
        text += "value " + std::to_string(value.key) + " " + Hex(value.name);
        text += value.bDelete ? " delete\n"
                              : " set " + std::to_string(value.type) + " " + Hex(value.data) + "\n";
    }
    for (const CSaveStep& step : record.steps) {
        text += std::string("step ") + kStepWords[static_cast<int>(step.kind)];
        if (step.kind == SaveStepKind::Install) {
            const CSaveRecordMiniport& m = step.miniport;
            text += " " + Hex(m.service) + " " + Hex(m.file) + " " + Hex(m.description) +
                    (m.bCopyFile ? " 1" : " 0");
        }
        text += "\n";
    }
    return text;
}

std::string StepDoneLine(size_t step) { return "done " + std::to_string(step) + "\n"; }

std::string StateLine(SaveRecordState state, const std::string& by) {
    std::string line = std::string("state ") + kStateWords[static_cast<int>(state)];
    if (state == SaveRecordState::Superseded)
        line += " " + by;
    return line + "\n";
}

bool ParseSaveRecord(const std::string& text, CSaveRecord* record) {
    *record = CSaveRecord();
    size_t end = text.find('\n');
    if (end == std::string::npos || text.compare(0, end, kHeader) != 0)
        return false;
    for (size_t start = end + 1; (end = text.find('\n', start)) != std::string::npos;
         start = end + 1) {
        std::vector<std::string> words = Words(text.substr(start, end - start));
        if (!words.empty() && !ReadLine(words, record))
            return false;
    }
    return !record->id.empty();
}
