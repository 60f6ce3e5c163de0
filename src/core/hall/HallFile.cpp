#include "core/hall/HallFile.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <fstream>
#include <limits>
#include <system_error>
#include <tuple>
#include <utility>

#include "core/hall/TextToNumber.h"
#include "core/model/Codes.h"

namespace orvel {

namespace {

// ---- a small JSON reader: exactly RFC 8259, nothing the file does not need ----

struct Json {
  enum class Kind { Null, Bool, Number, String, Array, Object };
  Kind kind = Kind::Null;
  bool boolean = false;
  std::string text;  // a number's digits as written, or a string's value
  std::vector<Json> items;
  std::vector<std::pair<std::string, Json>> members;
  std::size_t offset = 0;  // where it starts in the file
};

// Deeper than the file ever goes by far; keeps a hostile file from using up
// the stack.
constexpr int kMaxDepth = 16;

// An object has a handful of keys; more are refused before the duplicate
// check, which compares each key with those before it, could take long.
constexpr std::size_t kMaxKeys = 32;

class JsonReader {
public:
  // At most `maxValues` values in all: a small file of empty objects would
  // otherwise take a hundred times its size in memory.
  JsonReader(std::string_view text, std::size_t maxValues) : text_(text), valuesLeft_(maxValues) {}

  Json ReadDocument() {
    if (text_.substr(0, 3) == "\xEF\xBB\xBF") pos_ = 3;  // a byte-order mark some editors add
    Json value = ReadValue(0);
    SkipBlanks();
    if (pos_ != text_.size()) Fail("値の後に余分な文字があります");
    return value;
  }

  // "3行12列" for an offset into the text.
  std::string Where(std::size_t offset) const {
    std::size_t line = 1, column = 1;
    for (std::size_t i = 0; i < offset && i < text_.size(); ++i) {
      if (text_[i] == '\n') {
        ++line;
        column = 1;
      } else if ((static_cast<unsigned char>(text_[i]) & 0xC0) != 0x80) {
        ++column;  // UTF-8 continuation bytes belong to the character before
      }
    }
    return std::to_string(line) + "行" + std::to_string(column) + "列";
  }

private:
  [[noreturn]] void Fail(const std::string& what) const {
    throw HallFileError{"ホールファイルのJSONが正しくありません（" + Where(pos_) + "）：" + what + "。"};
  }

  void SkipBlanks() {
    while (pos_ < text_.size() &&
           (text_[pos_] == ' ' || text_[pos_] == '\t' || text_[pos_] == '\n' || text_[pos_] == '\r'))
      ++pos_;
  }

  char Peek() {
    SkipBlanks();
    if (pos_ >= text_.size()) Fail("ファイルが途中で終わっています");
    return text_[pos_];
  }

  void Expect(char c) {
    if (Peek() != c) Fail(std::string("'") + c + "' がありません");
    ++pos_;
  }

  Json ReadValue(int depth) {
    if (depth > kMaxDepth) Fail("入れ子が深すぎます");
    if (valuesLeft_ == 0) Fail("値が多すぎます（台数が多すぎるか、余計な値があります）");
    --valuesLeft_;
    const char c = Peek();
    Json value;
    value.offset = pos_;
    if (c == '{') {
      value.kind = Json::Kind::Object;
      ++pos_;
      if (Peek() == '}') {
        ++pos_;
        return value;
      }
      for (;;) {
        if (Peek() != '"') Fail("キーの文字列がありません");
        if (value.members.size() == kMaxKeys) Fail("項目が多すぎます");
        const std::size_t keyAt = pos_;
        std::string key = ReadString();
        for (const auto& member : value.members) {
          if (member.first == key) {
            pos_ = keyAt;
            Fail("キー \"" + key + "\" が二度あります");
          }
        }
        Expect(':');
        value.members.emplace_back(std::move(key), ReadValue(depth + 1));
        if (Peek() == ',') {
          ++pos_;
          continue;
        }
        Expect('}');
        return value;
      }
    }
    if (c == '[') {
      value.kind = Json::Kind::Array;
      ++pos_;
      if (Peek() == ']') {
        ++pos_;
        return value;
      }
      for (;;) {
        value.items.push_back(ReadValue(depth + 1));
        if (Peek() == ',') {
          ++pos_;
          continue;
        }
        Expect(']');
        return value;
      }
    }
    if (c == '"') {
      value.kind = Json::Kind::String;
      value.text = ReadString();
      return value;
    }
    if (c == '-' || (c >= '0' && c <= '9')) {
      value.kind = Json::Kind::Number;
      value.text = ReadNumber();
      return value;
    }
    for (const auto& [word, kind, boolean] :
         {std::tuple{"null", Json::Kind::Null, false}, std::tuple{"true", Json::Kind::Bool, true},
          std::tuple{"false", Json::Kind::Bool, false}}) {
      const std::string_view w(word);
      if (text_.substr(pos_, w.size()) == w) {
        pos_ += w.size();
        value.kind = kind;
        value.boolean = boolean;
        return value;
      }
    }
    Fail("値として読めない文字があります");
  }

  bool Digit() const { return pos_ < text_.size() && text_[pos_] >= '0' && text_[pos_] <= '9'; }

  std::string ReadNumber() {
    const std::size_t start = pos_;
    if (text_[pos_] == '-') ++pos_;
    if (!Digit()) Fail("数の書き方が正しくありません");
    if (text_[pos_] == '0') {
      ++pos_;
    } else {
      while (Digit()) ++pos_;
    }
    if (pos_ < text_.size() && text_[pos_] == '.') {
      ++pos_;
      if (!Digit()) Fail("数の書き方が正しくありません");
      while (Digit()) ++pos_;
    }
    if (pos_ < text_.size() && (text_[pos_] == 'e' || text_[pos_] == 'E')) {
      ++pos_;
      if (pos_ < text_.size() && (text_[pos_] == '+' || text_[pos_] == '-')) ++pos_;
      if (!Digit()) Fail("数の書き方が正しくありません");
      while (Digit()) ++pos_;
    }
    return std::string(text_.substr(start, pos_ - start));
  }

  unsigned Hex4() {
    if (pos_ + 4 > text_.size()) Fail("\\u の後に16進数4桁がありません");
    unsigned value = 0;
    for (int i = 0; i < 4; ++i) {
      const char h = text_[pos_++];
      value <<= 4;
      if (h >= '0' && h <= '9') {
        value |= static_cast<unsigned>(h - '0');
      } else if (h >= 'a' && h <= 'f') {
        value |= static_cast<unsigned>(h - 'a' + 10);
      } else if (h >= 'A' && h <= 'F') {
        value |= static_cast<unsigned>(h - 'A' + 10);
      } else {
        --pos_;
        Fail("\\u の後に16進数4桁がありません");
      }
    }
    return value;
  }

  static void AppendUtf8(std::string& out, unsigned code) {
    if (code < 0x80) {
      out += static_cast<char>(code);
    } else if (code < 0x800) {
      out += static_cast<char>(0xC0 | (code >> 6));
      out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
      out += static_cast<char>(0xE0 | (code >> 12));
      out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (code >> 18));
      out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (code & 0x3F));
    }
  }

  std::string ReadString() {
    ++pos_;  // the opening quote
    std::string out;
    for (;;) {
      if (pos_ >= text_.size()) Fail("文字列が閉じていません");
      const char c = text_[pos_];
      if (c == '"') {
        ++pos_;
        return out;
      }
      if (static_cast<unsigned char>(c) < 0x20) Fail("文字列の中に制御文字があります");
      if (c != '\\') {
        out += c;
        ++pos_;
        continue;
      }
      ++pos_;
      if (pos_ >= text_.size()) Fail("文字列が閉じていません");
      const char e = text_[pos_++];
      switch (e) {
        case '"': out += '"'; break;
        case '\\': out += '\\'; break;
        case '/': out += '/'; break;
        case 'b': out += '\b'; break;
        case 'f': out += '\f'; break;
        case 'n': out += '\n'; break;
        case 'r': out += '\r'; break;
        case 't': out += '\t'; break;
        case 'u': {
          unsigned code = Hex4();
          if (code >= 0xD800 && code < 0xDC00) {
            // A high surrogate: its low half must follow as \uDC00 … \uDFFF.
            if (text_.substr(pos_, 2) != "\\u") Fail("サロゲートの後半がありません");
            pos_ += 2;
            const unsigned low = Hex4();
            if (low < 0xDC00 || low > 0xDFFF) Fail("サロゲートの後半がありません");
            code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
          } else if (code >= 0xDC00 && code < 0xE000) {
            Fail("サロゲートの前半がありません");
          }
          AppendUtf8(out, code);
          break;
        }
        default: --pos_; Fail("文字列の中に正しくないエスケープがあります");
      }
    }
  }

  std::string_view text_;
  std::size_t pos_ = 0;
  std::size_t valuesLeft_;
};

// ---- the hall file's fields ----

const Json* Member(const Json& object, std::string_view key) {
  for (const auto& [name, value] : object.members) {
    if (name == key) return &value;
  }
  return nullptr;
}

const Json& Required(const Json& object, std::string_view key, const std::string& where) {
  const Json* value = Member(object, key);
  if (value == nullptr) throw HallFileError{where + "に \"" + std::string(key) + "\" がありません。"};
  return *value;
}

// A JSON number that is a whole number within [low, high], or nothing.
std::optional<std::int64_t> WholeNumber(const Json& value, std::int64_t low, std::int64_t high) {
  if (value.kind != Json::Kind::Number) return std::nullopt;
  std::int64_t number = 0;
  const char* end = value.text.data() + value.text.size();
  const auto result = std::from_chars(value.text.data(), end, number);
  if (result.ec != std::errc() || result.ptr != end || number < low || number > high) return std::nullopt;
  return number;
}

void RefuseUnknown(const Json& object, std::initializer_list<std::string_view> known, const std::string& where) {
  for (const auto& member : object.members) {
    bool found = false;
    for (std::string_view k : known) found = found || member.first == k;
    if (!found) throw HallFileError{where + "に知らない項目 \"" + member.first + "\" があります。"};
  }
}

void AppendJsonString(std::string& out, std::string_view text) {
  out += '"';
  for (const char c : text) {
    const auto u = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (u < 0x20) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04x", u);
      out += escape;
    } else {
      out += c;  // UTF-8 as it is: the file is UTF-8
    }
  }
  out += '"';
}

}  // namespace

std::string HallFileText(const HallFileData& data) {
  std::string out;
  out.reserve(160 + data.seats.size() * 32);
  out += "{\n  \"format\": \"orvelhall\",\n  \"version\": ";
  out += std::to_string(kHallFileVersion);
  out += ",\n  \"playCount\": " + std::to_string(data.playCount);
  out += ",\n  \"updateInterval\": " + std::to_string(data.updateInterval);
  out += ",\n  \"seed\": " + (data.seed ? std::to_string(*data.seed) : std::string("null"));
  out += ",\n  \"seats\": [";
  for (std::size_t i = 0; i < data.seats.size(); ++i) {
    out += i == 0 ? "\n    {\"level\": " : ",\n    {\"level\": ";
    out += std::to_string(data.seats[i].level);
    out += ", \"rate\": ";
    AppendJsonString(out, data.seats[i].rate);
    out += '}';
  }
  out += data.seats.empty() ? "]\n}\n" : "\n  ]\n}\n";
  return out;
}

HallFileData ParseHallFile(std::string_view text, int maxSeats) {
  // A seat is three values (its object, setting and rate); the rest of the
  // file a few dozen. Room for the message "too many seats" and no more.
  JsonReader reader(text, 3 * (static_cast<std::size_t>(std::max(maxSeats, 0)) + 1) + 64);
  const Json root = reader.ReadDocument();
  const std::string top = "ホールファイル";
  if (root.kind != Json::Kind::Object) throw HallFileError{"ホールファイルの中身がJSONのオブジェクトではありません。"};
  const Json& format = Required(root, "format", top);
  if (format.kind != Json::Kind::String || format.text != "orvelhall") {
    throw HallFileError{"Orvelsimホールのファイルではありません（\"format\" が \"orvelhall\" ではありません）。"};
  }
  const Json& version = Required(root, "version", top);
  if (!WholeNumber(version, kHallFileVersion, kHallFileVersion)) {
    throw HallFileError{"ホールファイルの版 " + (version.kind == Json::Kind::Number ? version.text : "?") +
                        " には対応していません（対応している版は " + std::to_string(kHallFileVersion) + "）。"};
  }
  RefuseUnknown(root, {"format", "version", "playCount", "updateInterval", "seed", "seats"}, top);

  HallFileData data;
  const auto playCount = WholeNumber(Required(root, "playCount", top), 1, std::numeric_limits<std::int32_t>::max());
  if (!playCount) throw HallFileError{"\"playCount\"：Play数は、1から2147483647の整数にしてください。"};
  data.playCount = static_cast<std::int32_t>(*playCount);
  const auto interval = WholeNumber(Required(root, "updateInterval", top), 1, *playCount);
  if (!interval) throw HallFileError{"\"updateInterval\"：更新間隔は、1からPlay数までの整数にしてください。"};
  data.updateInterval = static_cast<std::int32_t>(*interval);
  const Json& seed = Required(root, "seed", top);
  if (seed.kind != Json::Kind::Null) {
    const auto value = WholeNumber(seed, 0, std::numeric_limits<std::uint32_t>::max());
    if (!value) throw HallFileError{"\"seed\"：シードは、0から4294967295の整数か null にしてください。"};
    data.seed = static_cast<std::uint32_t>(*value);
  }

  const Json& seats = Required(root, "seats", top);
  if (seats.kind != Json::Kind::Array) throw HallFileError{"\"seats\" が配列ではありません。"};
  if (seats.items.size() > static_cast<std::size_t>(std::max(maxSeats, 0))) {
    throw HallFileError{"台数が多すぎます：" + std::to_string(seats.items.size()) + " 台（" + std::to_string(maxSeats) +
                        " 台まで）。"};
  }
  data.seats.reserve(seats.items.size());
  for (std::size_t i = 0; i < seats.items.size(); ++i) {
    const Json& seat = seats.items[i];
    // Named only when refused: counting lines for every seat would make a
    // big hall's reading quadratic.
    const auto where = [&] { return std::to_string(i + 1) + "番台（" + reader.Where(seat.offset) + "）"; };
    if (seat.kind != Json::Kind::Object) throw HallFileError{where() + "がオブジェクトではありません。"};
    const Json* level = Member(seat, "level");
    const Json* rate = Member(seat, "rate");
    if (seat.members.size() != static_cast<std::size_t>((level != nullptr) + (rate != nullptr))) {
      RefuseUnknown(seat, {"level", "rate"}, where());
    }
    if (level == nullptr) throw HallFileError{where() + "に \"level\" がありません。"};
    if (rate == nullptr) throw HallFileError{where() + "に \"rate\" がありません。"};
    const auto levelValue = WholeNumber(*level, Level::kMin, Level::kMax);
    if (!levelValue) throw HallFileError{where() + "：設定は、1から6にしてください。"};
    if (rate->kind != Json::Kind::String)
      throw HallFileError{where() + "：稼働率は文字列（\"0.5\" など）にしてください。"};
    if (!TryParseDecimal(rate->text)) throw HallFileError{where() + "：" + NotADecimalMessage(rate->text) + "。"};
    data.seats.push_back({static_cast<std::int32_t>(*levelValue), rate->text});
  }
  return data;
}

HallFileData ReadHallFile(const std::filesystem::path& file, int maxSeats) {
  std::error_code error;
  const std::uintmax_t size = std::filesystem::file_size(file, error);
  if (error) throw HallFileError{"ファイル '" + file.string() + "' を開けません：" + error.message()};
  if (size > kHallFileMaxBytes) {
    throw HallFileError{"ファイルが大きすぎます：" + std::to_string(size) + " バイト（ホールファイルは " +
                        std::to_string(kHallFileMaxBytes) + " バイトまで）。"};
  }
  std::ifstream in(file, std::ios::binary);
  if (!in) throw HallFileError{"ファイル '" + file.string() + "' を開けません。"};
  std::string text;
  // Read up to one byte past the limit: the file may have grown since.
  text.resize(static_cast<std::size_t>(size) + 1);
  in.read(text.data(), static_cast<std::streamsize>(text.size()));
  if (in.bad()) throw HallFileError{"ファイル '" + file.string() + "' を読めません。"};
  text.resize(static_cast<std::size_t>(in.gcount()));
  if (text.size() > kHallFileMaxBytes) throw HallFileError{"ファイルが大きすぎます。"};
  return ParseHallFile(text, maxSeats);
}

void WriteHallFile(const std::filesystem::path& file, const HallFileData& data) {
  WriteFileAtomically(file, HallFileText(data));
}

void WriteFileAtomically(const std::filesystem::path& file, std::string_view content) {
  std::filesystem::path temp = file;
  temp += ".saving";
  const std::string failed = "'" + file.string() + "' に書き込めません";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) throw HallFileError{failed + "（フォルダに書き込めないか、ファイルを作れません）。"};
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    out.close();
    if (!out) {
      std::error_code ignored;  // already failing; the old file is untouched
      std::filesystem::remove(temp, ignored);
      throw HallFileError{failed + "（ディスクがいっぱいか、書き込みが拒まれました）。"};
    }
  }
  std::error_code error;
  std::filesystem::rename(temp, file, error);
  if (error) {
    std::error_code ignored;
    std::filesystem::remove(temp, ignored);
    throw HallFileError{failed + "：" + error.message()};
  }
}

}  // namespace orvel
