#pragma once
// The plan of one exam drive: the subjects to tick and the steps to take, read from a UTF-8 file.
#include <set>
#include <string>
#include <vector>

namespace qv::e2e {

// One line of the plan that does something.
struct TStep {
  enum class TKind {
    Answer,  // answers the question on screen (Text; empty: leaves it unanswered) and moves on
    Button,  // navigation bar: Text is first, prior, next or last
    Row,     // clicks row Count (a question number) of the question list
    Wheel,   // turns the wheel over the question list by Count notches (negative: up)
    Key,     // presses Text (Down, Up, PageDown, PageUp, Home, End; "Ctrl+" before any) in the list
    Scroll,  // the list's scroll bar: Text is "arrow" (Count clicks, negative: up) or top or bottom
    Tick,    // ticks the option boxes of Text on screen without leaving the question
    Picture, // saves the screen as Text (with --shots)
  };
  TKind Kind = TKind::Answer;
  std::string Text;
  int Count = 0;
  int Line = 0; // in the plan file
  // The line as written, for messages.
  std::string Source;
};

struct TPlan {
  std::vector<TStep> Steps;
  bool SubjectsGiven = false;
  std::set<std::string> Subjects;
  // Statements run on the working copy of the database before the program starts ("# sql:").
  std::vector<std::string> Sql;
  // A plan of answer lines only: one line per question in paper order.
  bool AnswersOnly() const;
};

// Reads and checks a plan file; a line it cannot take is an error naming the line.
TPlan ReadPlan(const std::string &path);

} // namespace qv::e2e
