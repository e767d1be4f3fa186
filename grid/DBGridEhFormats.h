#pragma once
// The byte formats of the grid's export, import and clipboard, without any window or dataset:
// tab-separated text and CSV (GBK, lines separated by CR LF), RTF tables, and the binary
// interchange format "QVTDBIF". The grid's drivers (DBGridEhExport.cpp, DBGridEhImport.cpp) feed
// them cells and take cells from them; readers parse a whole input before anything is written
// to a dataset, so bad input changes nothing.
#include "platform/base/Exception.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

class EGridTransferError : public Exception {
public:
  using Exception::Exception;
};

// The CSV separator of the program (default ';').
char CsvSeparator();
void SetCsvSeparator(char c);

// Tab-separated text (no quoting) or CSV (every text quoted, quotes doubled). Texts come in
// as UTF-8 and are written as GBK; rows are separated by CR LF, none before the first or after
// the last.
class TTextTableWriter {
public:
  TTextTableWriter(std::string &out, char separator, bool quoted)
      : out_(out), separator_(separator), quoted_(quoted) {}
  void BeginRow();
  void Cell(std::string_view utf8);

private:
  std::string &out_;
  char separator_;
  bool quoted_;
  bool anyRow_ = false, rowStarted_ = false;
};

// Reads tab-separated GBK text: TAB ends a cell, CR LF a record. Cells come back as UTF-8.
// A CR without LF throws EGridTransferError.
std::vector<std::vector<std::string>> ReadTextTable(std::string_view gbk);

// One cell of an RTF table row. Colours are 0x00BBGGRR.
struct TRtfCell {
  std::string Text;  // UTF-8
  int Alignment = 0; // 0 left, 1 right, 2 centre
  std::string FontName;
  int FontSize = 9; // points
  bool Bold = false, Italic = false, StrikeOut = false, Underline = false;
  uint32_t TextColor = 0, Background = 0xFFFFFF;
  int Width = 0; // pixels
};

// An RTF document of table rows. The colour table starts with black, white and the button face;
// colours and fonts are added on first use.
class TRtfWriter {
public:
  TRtfWriter(uint32_t buttonFace, int pixelsPerInch, bool flat);
  void Row(const std::vector<TRtfCell> &cells);
  // The whole document: header, tables, body.
  std::string Finish() const;

private:
  std::vector<uint32_t> colors_;
  std::vector<std::string> fonts_; // GBK names
  std::string body_;
  int pixelsPerInch_;
  bool flat_;
  int ColorIndex(uint32_t c);
  int FontIndex(const std::string &gbkName);
};

// Interchange format.
enum class TIfTag : uint8_t { End = 0, NoValue = 1, Null = 2, Integer = 3, Real = 4, Text = 5, Bytes = 6 };

struct TIfCell {
  TIfTag Tag = TIfTag::NoValue;
  int32_t Integer = 0;
  double Real = 0;
  std::string Data; // Text (GBK bytes) or Bytes
};

// Writes the header (signature, version 1, the columns' visible flags with empty names), then
// the cells record after record, then the end byte.
class TQvtdbifWriter {
public:
  TQvtdbifWriter(std::string &out, const std::vector<bool> &visible);
  void Cell(const TIfCell &cell);
  void Finish();

private:
  std::string &out_;
};

struct TQvtdbifData {
  std::vector<bool> Visible;
  std::vector<std::string> Names;
  // Records of ColumnCount cells each (the last may be shorter when the end byte came early).
  std::vector<std::vector<TIfCell>> Records;
};

// Parses a whole interchange stream; a short read, a wrong signature or a length past the end
// throws EGridTransferError.
TQvtdbifData ReadQvtdbif(std::string_view bytes);

// Error messages of the readers: the reader's name, then the text of the grid's table
// (GridTexts(), DBGridEhTexts.h) as it is when the error is raised.
std::string InvalidTextFormatMessage();
std::string InvalidQvtdbifFormatMessage();

} // namespace qv
