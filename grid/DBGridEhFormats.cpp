// Writers and readers of the grid's transfer formats (see DBGridEhFormats.h).
#include "grid/DBGridEhFormats.h"

#include "grid/DBGridEhTexts.h"

#include "platform/base/Text.h"

#include <algorithm>
#include <cstring>

namespace qv {

namespace {

char csvSeparator = ';';

void AppendLE32(std::string &out, uint32_t v) {
  for (int i = 0; i < 4; ++i)
    out.push_back(static_cast<char>(v >> (8 * i)));
}

} // namespace

std::string InvalidTextFormatMessage() {
  return "TDBGridEhImportAsText.CheckState: " + GridTexts().InvalidTextFormat;
}

std::string InvalidQvtdbifFormatMessage() {
  return "TDBGridEhImportAsQVTDBIF.ReadPrefix: " + GridTexts().InvalidQvtdbifFormat;
}

char CsvSeparator() { return csvSeparator; }
void SetCsvSeparator(char c) { csvSeparator = c; }

// Text and CSV -----------------------------------------------------------------------------------

void TTextTableWriter::BeginRow() {
  if (anyRow_) out_ += "\r\n";
  anyRow_ = true;
  rowStarted_ = false;
}

void TTextTableWriter::Cell(std::string_view utf8) {
  if (rowStarted_) out_.push_back(separator_);
  rowStarted_ = true;
  std::string gbk = Utf8ToGbk(utf8);
  if (!quoted_) {
    out_ += gbk;
    return;
  }
  out_.push_back('"');
  for (char c : gbk) {
    if (c == '"') out_.push_back('"');
    out_.push_back(c);
  }
  out_.push_back('"');
}

std::vector<std::vector<std::string>> ReadTextTable(std::string_view gbk) {
  // GBK trail bytes are 0x40 and above, so TAB, CR and LF never occur inside a character.
  std::vector<std::vector<std::string>> records;
  std::vector<std::string> record;
  std::string cell;
  bool inRecord = false;
  for (size_t i = 0; i < gbk.size(); ++i) {
    char c = gbk[i];
    if (c == '\r') {
      if (i + 1 >= gbk.size() || gbk[i + 1] != '\n') throw EGridTransferError(InvalidTextFormatMessage());
      ++i;
      record.push_back(GbkToUtf8(cell));
      records.push_back(std::move(record));
      record.clear();
      cell.clear();
      inRecord = false;
      continue;
    }
    inRecord = true;
    if (c == '\t') {
      record.push_back(GbkToUtf8(cell));
      cell.clear();
    } else {
      cell.push_back(c);
    }
  }
  if (inRecord) {
    record.push_back(GbkToUtf8(cell));
    records.push_back(std::move(record));
  }
  return records;
}

// RTF ------------------------------------------------------------------------------------------

namespace {

// RTF text: braces and backslashes escaped, bytes past ASCII as \'hh (readers drop raw 8-bit
// bytes), so that no cell text can break the document.
std::string RtfEscape(std::string_view gbk) {
  static const char hex[] = "0123456789abcdef";
  std::string out;
  out.reserve(gbk.size());
  for (char ch : gbk) {
    auto c = static_cast<unsigned char>(ch);
    if (c == '\\' || c == '{' || c == '}') {
      out.push_back('\\');
      out.push_back(ch);
    } else if (c >= 0x80 || c < 0x20) {
      out += "\\'";
      out.push_back(hex[c >> 4]);
      out.push_back(hex[c & 15]);
    } else {
      out.push_back(ch);
    }
  }
  return out;
}

const char *RtfAlignment(int a) { return a == 1 ? "\\qr" : a == 2 ? "\\qc" : "\\ql"; }

} // namespace

TRtfWriter::TRtfWriter(uint32_t buttonFace, int pixelsPerInch, bool flat)
    : colors_{0x000000, 0xFFFFFF, buttonFace & 0xFFFFFF}, pixelsPerInch_(std::max(pixelsPerInch, 1)),
      flat_(flat) {}

int TRtfWriter::ColorIndex(uint32_t c) {
  c &= 0xFFFFFF;
  auto it = std::find(colors_.begin(), colors_.end(), c);
  if (it != colors_.end()) return static_cast<int>(it - colors_.begin());
  colors_.push_back(c);
  return static_cast<int>(colors_.size()) - 1;
}

int TRtfWriter::FontIndex(const std::string &gbkName) {
  auto it = std::find(fonts_.begin(), fonts_.end(), gbkName);
  if (it != fonts_.end()) return static_cast<int>(it - fonts_.begin());
  fonts_.push_back(gbkName);
  return static_cast<int>(fonts_.size()) - 1;
}

void TRtfWriter::Row(const std::vector<TRtfCell> &cells) {
  std::string &b = body_;
  b += "\\trowd\\trgaph40\r\n";
  int right = 0;
  for (const TRtfCell &cell : cells) {
    for (const char *side : {"\\clbrdrl", "\\clbrdrt", "\\clbrdrb", "\\clbrdrr"})
      b += std::string(side) + "\\brdrs\\brdrcf0\r\n";
    right += static_cast<int>(static_cast<int64_t>(cell.Width) * 1440 / pixelsPerInch_);
    b += "\\clshdng10000\\clcfpat" + std::to_string(ColorIndex(cell.Background)) + "\\cellx" +
         std::to_string(right) + "\r\n";
  }
  b += "{\\trrh0\r\n";
  const char *space = flat_ ? "12" : "24";
  for (const TRtfCell &cell : cells) {
    b += "\\pard\\intbl{";
    b += RtfAlignment(cell.Alignment);
    b += std::string("\\sb") + space + "\\sa" + space;
    b += "\\fs" + std::to_string(cell.FontSize * 2);
    if (cell.Bold) b += "\\b";
    if (cell.Italic) b += "\\i";
    if (cell.StrikeOut) b += "\\strike";
    if (cell.Underline) b += "\\ul";
    b += "\\f" + std::to_string(FontIndex(Utf8ToGbk(cell.FontName)));
    b += "\\cf" + std::to_string(ColorIndex(cell.TextColor));
    b += "\\cb" + std::to_string(ColorIndex(cell.Background));
    b += " " + RtfEscape(Utf8ToGbk(cell.Text));
    b += "\\cell}\r\n";
  }
  b += "\\pard\\intbl\\row}\r\n";
}

std::string TRtfWriter::Finish() const {
  std::string out = "{\\rtf0\\ansi\r\n{\\colortbl";
  for (uint32_t c : colors_)
    out += "\\red" + std::to_string(c & 0xFF) + "\\green" + std::to_string((c >> 8) & 0xFF) + "\\blue" +
           std::to_string((c >> 16) & 0xFF) + ";";
  out += "}\r\n{\\fonttbl";
  for (size_t i = 0; i < fonts_.size(); ++i)
    out += "\\f" + std::to_string(i) + "\\fnil " + RtfEscape(fonts_[i]) + ";";
  out += "}\r\n";
  out += body_;
  out += "}";
  return out;
}

// Interchange format ---------------------------------------------------------------------------

TQvtdbifWriter::TQvtdbifWriter(std::string &out, const std::vector<bool> &visible) : out_(out) {
  out_ += "QVTDBIF";
  out_.push_back(1);
  AppendLE32(out_, static_cast<uint32_t>(visible.size()));
  for (bool v : visible) {
    out_.push_back(v ? 1 : 0);
    out_.push_back(0); // empty field name
  }
}

void TQvtdbifWriter::Cell(const TIfCell &cell) {
  out_.push_back(static_cast<char>(cell.Tag));
  switch (cell.Tag) {
  case TIfTag::Integer:
    AppendLE32(out_, static_cast<uint32_t>(cell.Integer));
    break;
  case TIfTag::Real: {
    uint64_t bits = 0;
    std::memcpy(&bits, &cell.Real, sizeof bits);
    for (int i = 0; i < 8; ++i)
      out_.push_back(static_cast<char>(bits >> (8 * i)));
    break;
  }
  case TIfTag::Text:
  case TIfTag::Bytes:
    AppendLE32(out_, static_cast<uint32_t>(cell.Data.size()));
    out_ += cell.Data;
    break;
  default:
    break;
  }
}

void TQvtdbifWriter::Finish() { out_.push_back(0); }

namespace {

class TReader {
public:
  explicit TReader(std::string_view bytes) : bytes_(bytes) {}
  std::string_view Take(size_t n) {
    if (n > bytes_.size() - pos_) throw EGridTransferError(InvalidQvtdbifFormatMessage());
    std::string_view s = bytes_.substr(pos_, n);
    pos_ += n;
    return s;
  }
  uint8_t Byte() { return static_cast<uint8_t>(Take(1)[0]); }
  uint32_t LE32() {
    std::string_view s = Take(4);
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
      v = (v << 8) | static_cast<uint8_t>(s[static_cast<size_t>(i)]);
    return v;
  }
  std::string ZeroTerminated() {
    size_t end = bytes_.find('\0', pos_);
    if (end == std::string_view::npos) throw EGridTransferError(InvalidQvtdbifFormatMessage());
    std::string s(bytes_.substr(pos_, end - pos_));
    pos_ = end + 1;
    return s;
  }

private:
  std::string_view bytes_;
  size_t pos_ = 0;
};

} // namespace

TQvtdbifData ReadQvtdbif(std::string_view bytes) {
  TReader in(bytes);
  std::string_view prefix = in.Take(12);
  if (prefix.substr(0, 7) != "QVTDBIF") throw EGridTransferError(InvalidQvtdbifFormatMessage());
  uint32_t count = static_cast<uint32_t>(static_cast<uint8_t>(prefix[8])) |
                   static_cast<uint32_t>(static_cast<uint8_t>(prefix[9])) << 8 |
                   static_cast<uint32_t>(static_cast<uint8_t>(prefix[10])) << 16 |
                   static_cast<uint32_t>(static_cast<uint8_t>(prefix[11])) << 24;
  TQvtdbifData data;
  // Each descriptor takes two bytes at least: a count past the data is a lie, found without
  // allocating for it.
  if (count > bytes.size() / 2) throw EGridTransferError(InvalidQvtdbifFormatMessage());
  for (uint32_t i = 0; i < count; ++i) {
    data.Visible.push_back(in.Byte() != 0);
    data.Names.push_back(in.ZeroTerminated());
  }
  std::vector<TIfCell> record;
  for (;;) {
    auto tag = static_cast<TIfTag>(in.Byte());
    if (tag == TIfTag::End) break;
    if (count == 0) throw EGridTransferError(InvalidQvtdbifFormatMessage());
    TIfCell cell;
    cell.Tag = tag;
    switch (tag) {
    case TIfTag::NoValue:
    case TIfTag::Null:
      break;
    case TIfTag::Integer:
      cell.Integer = static_cast<int32_t>(in.LE32());
      break;
    case TIfTag::Real: {
      std::string_view s = in.Take(8);
      uint64_t bits = 0;
      for (int i = 7; i >= 0; --i)
        bits = (bits << 8) | static_cast<uint8_t>(s[static_cast<size_t>(i)]);
      std::memcpy(&cell.Real, &bits, sizeof bits);
      break;
    }
    case TIfTag::Text:
    case TIfTag::Bytes:
      cell.Data = std::string(in.Take(in.LE32()));
      break;
    default:
      throw EGridTransferError(InvalidQvtdbifFormatMessage());
    }
    record.push_back(std::move(cell));
    if (record.size() == count) {
      data.Records.push_back(std::move(record));
      record.clear();
    }
  }
  if (!record.empty()) data.Records.push_back(std::move(record));
  return data;
}

} // namespace qv
