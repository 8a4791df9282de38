#include "installer/rollbackJournal.h"

#include <cstddef>

namespace {

const char FIRST_LINE[] = "saver-rollback 1";
const char LAST_LINE[] = "end";
const char HEX_DIGITS[] = "0123456789ABCDEF";
// Registry value types are small numbers; a larger one is no journal of ours.
const uint32_t LARGEST_TYPE = 0xFFFF;

bool escaped(unsigned char c) { return c < 0x20 || c == '%' || c == 0x7F; }

std::string fieldText(const std::string &field) {
  std::string text;
  for (const unsigned char c : field) {
    if (!escaped(c)) {
      text += static_cast<char>(c);
      continue;
    }
    text += '%';
    text += HEX_DIGITS[c >> 4];
    text += HEX_DIGITS[c & 15];
  }
  return text;
}

std::string hexText(const std::string &bytes) {
  std::string text;
  for (const unsigned char c : bytes) {
    text += HEX_DIGITS[c >> 4];
    text += HEX_DIGITS[c & 15];
  }
  return text;
}

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool hexByte(const std::string &text, size_t at, char &byte) {
  if (at + 1 >= text.size()) return false;
  const int high = hexDigit(text[at]), low = hexDigit(text[at + 1]);
  if (high < 0 || low < 0) return false;
  byte = static_cast<char>(high * 16 + low);
  return true;
}

// An escaped byte never stands in a field as it is.
bool fieldOf(const std::string &text, std::string &field) {
  field.clear();
  for (size_t at = 0; at < text.size(); ++at) {
    char c = text[at];
    if (c == '%') {
      if (!hexByte(text, at + 1, c)) return false;
      at += 2;
    } else if (escaped(static_cast<unsigned char>(c))) {
      return false;
    }
    field += c;
  }
  return true;
}

bool bytesOfHex(const std::string &text, std::string &bytes) {
  bytes.clear();
  if (text.size() % 2 != 0) return false;
  for (size_t at = 0; at < text.size(); at += 2) {
    char byte = 0;
    if (!hexByte(text, at, byte)) return false;
    bytes += byte;
  }
  return true;
}

bool numberOf(const std::string &text, uint32_t largest, uint32_t &number) {
  number = 0;
  if (text.empty() || text.size() > 5) return false;
  for (const char c : text) {
    if (c < '0' || c > '9') return false;
    number = number * 10 + static_cast<uint32_t>(c - '0');
  }
  return number <= largest;
}

std::vector<std::string> split(const std::string &line, char separator) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (size_t end = line.find(separator); end != std::string::npos; end = line.find(separator, start)) {
    parts.push_back(line.substr(start, end - start));
    start = end + 1;
  }
  parts.push_back(line.substr(start));
  return parts;
}

// One record after the first line; false when it is none of ours.
bool readRecord(const std::vector<std::string> &fields, RollbackJournal &journal) {
  const std::string &kind = fields.front();
  if (kind == "entry" && fields.size() == 3 && journal.entryKey.empty() &&
      (fields[1] == "0" || fields[1] == "1")) {
    journal.machineEntry = fields[1] == "1";
    return fieldOf(fields[2], journal.entryKey) && !journal.entryKey.empty();
  }
  if (kind == "value" && fields.size() == 4 && !journal.entryKey.empty()) {
    KeptValue value;
    if (!fieldOf(fields[1], value.name) || !numberOf(fields[2], LARGEST_TYPE, value.type) ||
        !bytesOfHex(fields[3], value.data))
      return false;
    journal.values.push_back(value);
    return true;
  }
  if (kind == "move" && fields.size() == 3) {
    KeptMove move;
    if (!fieldOf(fields[1], move.original) || !fieldOf(fields[2], move.kept) || move.original.empty() ||
        move.kept.empty())
      return false;
    journal.moves.push_back(move);
    return true;
  }
  return false;
}

}  // namespace

std::string journalText(const RollbackJournal &journal) {
  std::string text = std::string(FIRST_LINE) + "\n";
  if (!journal.entryKey.empty()) {
    text += std::string("entry\t") + (journal.machineEntry ? "1" : "0") + "\t" +
            fieldText(journal.entryKey) + "\n";
    for (const KeptValue &value : journal.values)
      text += "value\t" + fieldText(value.name) + "\t" + std::to_string(value.type) + "\t" +
              hexText(value.data) + "\n";
  }
  for (const KeptMove &move : journal.moves)
    text += "move\t" + fieldText(move.original) + "\t" + fieldText(move.kept) + "\n";
  return text + LAST_LINE + "\n";
}

JournalReading readJournal(const std::string &text, RollbackJournal &journal) {
  journal = RollbackJournal();
  std::vector<std::string> lines = split(text, '\n');
  // Every line ends in "\n": the last part is what follows the last one.
  const bool whole = lines.back().empty();
  if (whole) lines.pop_back();
  if (lines.empty()) return JournalReading::cut;
  if (lines.front() != FIRST_LINE) {
    // A cut first line is a journal that had only begun.
    const bool begun = !whole && lines.size() == 1 && std::string(FIRST_LINE).rfind(lines.front(), 0) == 0;
    return begun ? JournalReading::cut : JournalReading::damaged;
  }
  for (size_t index = 1; index < lines.size(); ++index) {
    const bool last = index + 1 == lines.size();
    if (lines[index] == LAST_LINE) {
      if (!last) return JournalReading::damaged;
      return whole ? JournalReading::complete : JournalReading::cut;
    }
    // The line being written when the run ended may be cut anywhere.
    if (last && !whole) return JournalReading::cut;
    if (!readRecord(split(lines[index], '\t'), journal)) return JournalReading::damaged;
  }
  return JournalReading::cut;
}
