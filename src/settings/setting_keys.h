#pragma once

// One table per settings file: each row names a key, where its value lives in the record, the
// value taken when the file has no line of it, and the value of a fresh record (a new project,
// a first run). Readers and writers walk the table, so order and defaults are written once.

#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "settings/settings_text.h"

namespace pentrak {

template <typename Record>
struct SettingKey {
  std::string_view key;
  std::string_view missing;  // taken when the file has no line of the key
  std::string_view fresh;    // the value of a fresh record; the constant of a key with no field
  // At most one of the two pairs is set; a key with neither is written as its fresh value and
  // never read.
  std::string& (*text)(Record&) = nullptr;
  const std::string& (*text_of)(const Record&) = nullptr;
  short& (*number)(Record&) = nullptr;
  const short& (*number_of)(const Record&) = nullptr;
};

// A field reached from the record through a chain of members, as in
// Member<&ProjectSettings::tags, &MacroTags::macro_start>. The lambdas return decltype(auto)
// rather than auto& because clang cannot turn an auto& generic lambda into the row's function
// pointers; the parenthesised expressions keep the result a reference.
// clang-format off
template <auto... Path>
inline constexpr auto Member = [](auto& record) -> decltype(auto) { return (record .* ... .* Path); };
// clang-format on

// A member of one element of an array member, as in
// ElementMember<&ProgramOptions::custom_options, 0, &CustomOption::caption>.
template <auto Array, std::size_t Index, auto Field>
inline constexpr auto ElementMember =
    [](auto& record) -> decltype(auto) { return ((record.*Array)[Index].*Field); };

// Row builders; field is a generic lambda returning a reference to the value in a record.
template <typename Record, typename Field>
constexpr SettingKey<Record> TextKey(std::string_view key, std::string_view missing,
                                     std::string_view fresh, Field field) {
  return {key, missing, fresh, field, field, nullptr, nullptr};
}
template <typename Record, typename Field>
constexpr SettingKey<Record> IntegerKey(std::string_view key, std::string_view missing,
                                        std::string_view fresh, Field field) {
  return {key, missing, fresh, nullptr, nullptr, field, field};
}
template <typename Record>
constexpr SettingKey<Record> ConstantKey(std::string_view key, std::string_view value) {
  return {key, "", value};
}

template <typename Record>
bool IsStored(const SettingKey<Record>& key) {
  return key.text != nullptr || key.number != nullptr;
}

// Looks the key up in the text and stores it; throws Error naming the key for a bad integer,
// leaving the field as it was.
template <typename Record>
void ReadSettingKey(const SettingsText& text, const SettingKey<Record>& key, Record& record) {
  std::string value = GetSettingValue(text, key.key, key.missing);
  if (key.text != nullptr) {
    key.text(record) = std::move(value);
  } else if (key.number != nullptr) {
    key.number(record) = SettingInteger(value, key.key);
  }
}

// Fills every field with its fresh value.
template <typename Record>
void SetFreshValues(std::span<const SettingKey<Record>> table, Record& record) {
  for (const SettingKey<Record>& key : table) {
    if (key.text != nullptr) {
      key.text(record) = std::string(key.fresh);
    } else if (key.number != nullptr) {
      key.number(record) = SettingInteger(key.fresh, key.key);
    }
  }
}

// The file's lines in table order.
template <typename Record>
std::vector<std::string> MakeSettingLines(std::span<const SettingKey<Record>> table,
                                          const Record& record) {
  std::vector<std::string> lines;
  lines.reserve(table.size());
  for (const SettingKey<Record>& key : table) {
    if (key.text_of != nullptr) {
      lines.push_back(MakeSettingLine(key.key, key.text_of(record)));
    } else if (key.number_of != nullptr) {
      lines.push_back(MakeSettingLine(key.key, std::to_string(key.number_of(record))));
    } else {
      lines.push_back(MakeSettingLine(key.key, key.fresh));
    }
  }
  return lines;
}

// The row of a key; the key must be in the table.
template <typename Record>
const SettingKey<Record>& FindSettingKey(std::span<const SettingKey<Record>> table,
                                         std::string_view name) {
  for (const SettingKey<Record>& key : table) {
    if (key.key == name) return key;
  }
  throw std::logic_error("no settings key " + std::string(name));
}

}  // namespace pentrak
