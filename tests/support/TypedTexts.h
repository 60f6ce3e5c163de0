#pragma once

#include <cstdio>
#include <cstdlib>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The texts users get wrong, typed into every field that takes a number:
// the program's number fields in the windows, the CLI's options and the
// conversions under them. Every table of typed input goes through all of
// them and states its own expectation for each by name, so a text added
// here reaches every field. Plain C++: GoogleTest and Qt Test tables both
// use it (Qt tests wrap the text in QString::fromStdString).
namespace orvel::test {

struct TypedText {
  const char* name;  // a row name: letters, digits and "_" only
  std::string text;  // UTF-8
};

inline std::vector<TypedText> NastyTexts() {
  return {
      {"empty", ""},
      {"blanks", "   "},
      {"letters", "abc"},
      {"decimal_point", "1.5"},
      {"minus_one", "-1"},
      {"zero", "0"},
      {"int_max", "2147483647"},
      {"past_int_max", "2147483648"},
      {"twenty_nines", "99999999999999999999"},
      {"full_width_digits", "１２"},
      {"exponent", "1e3"},
      {"hexadecimal", "0x10"},
      {"plus", "+5"},
      // A value every field takes (a setting, a count, a rate), so that the
      // blanks alone decide.
      {"blanks_around", " \t4 "},
      // As long as a line edit holds (QLineEdit's maximum length).
      {"very_long", std::string(32767, '9')},
      // Not an ASCII blank: a text copied from a web page or a spreadsheet.
      {"no_break_spaces_around", "\u00A04\u00A0"},
      {"arabic_indic_digits", "\u0661\u0662"},
      {"digit_separator", "1_000"},
  };
}

// A table's expectations, one per shared text, by the text's name.
template <class Expected>
using Expectations = std::vector<std::pair<std::string_view, Expected>>;

// Calls add(text, expected) for every shared text in the shared order. A
// table lacking a text's expectation, giving two, or naming a text that does
// not exist stops the program with the name: a new text must reach every
// table.
template <class Expected, class Add>
void ForEveryNastyText(const Expectations<Expected>& expectations, Add add) {
  const std::vector<TypedText> texts = NastyTexts();
  for (const auto& [name, expected] : expectations) {
    bool known = false;
    for (const TypedText& text : texts) known = known || name == text.name;
    if (!known) {
      std::fprintf(stderr, "a table expects something of the unknown typed text '%.*s'\n",
                   static_cast<int>(name.size()), name.data());
      std::abort();
    }
  }
  for (const TypedText& text : texts) {
    const Expected* found = nullptr;
    int count = 0;
    for (const auto& [name, expected] : expectations) {
      if (name == text.name) found = &expected, ++count;
    }
    if (count != 1) {
      std::fprintf(stderr, "a table has %d expectations for the typed text '%s', not one\n", count, text.name);
      std::abort();
    }
    add(text, *found);
  }
}

// A table of cases {name, text, expected}: every shared text with the
// table's expectation for it, then the table's own cases.
template <class Case, class Expected>
std::vector<Case> NastyThenOwn(const Expectations<Expected>& expectations, const std::vector<Case>& own) {
  std::vector<Case> cases;
  ForEveryNastyText(expectations, [&](const TypedText& text, const Expected& expected) {
    cases.push_back(Case{text.name, text.text, expected});
  });
  cases.insert(cases.end(), own.begin(), own.end());
  return cases;
}

// A typed text as a failure message shows it: in quotes, UTF-8 as it is,
// the invisible characters as escapes (\t, \u00A0 …) and a very long text
// cut short with its length, so that "１２" reads as '１２', not as bytes.
inline void PrintTypedText(std::string_view text, std::ostream& os) {
  constexpr std::size_t kShown = 40;  // bytes, then up to the next character
  os << '\'';
  std::size_t i = 0;
  for (; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (i >= kShown && (c & 0xC0) != 0x80) break;
    if (c == '\t') {
      os << "\\t";
    } else if (c == '\n') {
      os << "\\n";
    } else if (c < 0x20 || c == 0x7F) {
      static constexpr char kHex[] = "0123456789ABCDEF";
      os << "\\x" << kHex[c >> 4] << kHex[c & 0xF];
    } else if (c == 0xC2 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) == 0xA0) {
      os << "\\u00A0";
      ++i;
    } else {
      os << text[i];
    }
  }
  os << '\'';
  if (i < text.size()) os << "… (" << text.size() << " bytes)";
}

// A command line as a failure message shows it: options bare, values as
// typed texts, e.g. --seats '１２'.
inline void PrintArguments(const std::vector<std::string>& args, std::ostream& os) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (i > 0) os << ' ';
    if (args[i].rfind("--", 0) == 0) {
      os << args[i];
    } else {
      PrintTypedText(args[i], os);
    }
  }
}

}  // namespace orvel::test
