// SPDX-License-Identifier: MIT
#include "simulator/PrintTask.h"

#include <string>

namespace qm {
namespace {

// Reads a member key from its opening quote. A backslash takes the next
// byte literally. False when the text ends before the closing quote.
bool ReadKey(std::string_view text, std::size_t& pos, std::string& key) {
  ++pos;
  while (pos < text.size()) {
    const char ch = text[pos];
    if (ch == '"') {
      ++pos;
      return true;
    }
    if (ch == '\\' && pos + 1 < text.size()) {
      key += text[pos + 1];
      pos += 2;
      continue;
    }
    key += ch;
    ++pos;
  }
  return false;
}

void ReadMemberValue(std::string_view text, std::size_t& pos, std::string_view key,
                     PrintTaskCheck& check) {
  if (key == "id") {
    std::uint32_t id = 0;
    bool outOfRange = false;
    if (ParseJsonUint32(text, pos, id, outOfRange)) {
      check.idValid = true;
      check.id = id;
      return;
    }
    check.idOutOfRange = outOfRange;
  } else if (key == "type") {
    std::int32_t type = 0;
    if (ParseJsonInt32(text, pos, type)) {
      check.typeValid = true;
      check.type = type;
      return;
    }
  } else if (key == "contents") {
    check.contentsKind = GetJsonValueKind(text, pos);
    check.contentsPresent = check.contentsKind != JsonValueKind::None;
  } else if (key == "message") {
    check.messageIsString = GetJsonValueKind(text, pos) == JsonValueKind::String;
  }
  SkipJsonValue(text, pos);
}

bool IsAllowedType(std::int32_t type) {
  return (type >= 1 && type <= 6) || type == 99 || type == 100;
}

bool ContentsFitType(const PrintTaskCheck& check) {
  const JsonValueKind kind = check.contentsKind;
  const bool structured = kind == JsonValueKind::Array || kind == JsonValueKind::Object;
  switch (check.type) {
    case 5:
      return structured;
    case 99:
      return kind == JsonValueKind::Object;
    case 100:
      return kind == JsonValueKind::String || structured || check.messageIsString;
    default:  // 1 to 4 and 6
      return kind == JsonValueKind::String || check.messageIsString;
  }
}

}  // namespace

PrintTaskCheck ParsePrintTask(std::string_view text) {
  PrintTaskCheck check;
  std::size_t pos = 0;
  SkipJsonWhitespace(text, pos);
  if (pos >= text.size() || text[pos] != '{') return check;
  ++pos;
  check.ok = true;
  if (pos >= text.size()) return check;  // a lone "{" is an empty task
  std::string key;
  while (true) {
    SkipJsonWhitespace(text, pos);
    if (pos >= text.size() || (text[pos] != '}' && text[pos] != '"')) {
      check.ok = false;
      return check;
    }
    if (text[pos] == '}') return check;
    key.clear();
    if (!ReadKey(text, pos, key)) {
      check.ok = false;
      return check;
    }
    SkipJsonWhitespace(text, pos);
    if (pos >= text.size() || text[pos] != ':') {
      check.ok = false;
      return check;
    }
    ++pos;
    ReadMemberValue(text, pos, key, check);
    SkipJsonWhitespace(text, pos);
    if (pos < text.size() && text[pos] == ',') ++pos;
    if (pos >= text.size()) return check;
  }
}

int DecideTaskCode(const PrintTaskCheck& check, TaskIdHistory& history) {
  if (!check.ok) return kTaskBadContents;
  if (!check.idValid) return kTaskBadId;
  if (!check.typeValid) return kTaskMissingType;
  if (!IsAllowedType(check.type)) return kTaskInvalidType;
  if (!check.contentsPresent && !check.messageIsString) return kTaskMissingContents;
  // Without contents a string message carries the task, whatever its type.
  if (check.contentsKind != JsonValueKind::None && !ContentsFitType(check)) {
    return kTaskBadContents;
  }
  if (history.Contains(check.id)) return kTaskDuplicateId;
  history.Remember(check.id);
  return kTaskAccepted;
}

}  // namespace qm
