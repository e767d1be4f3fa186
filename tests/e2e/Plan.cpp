#include "Plan.h"

#include "platform/base/Text.h"

#include <algorithm>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace qv::e2e {

namespace {

int Number(const std::string &word, const TStep &step) {
  if (word.empty() || !std::all_of(word.begin(), word.end(), [](char c) { return c >= '0' && c <= '9'; }) ||
      word.size() > 6)
    throw std::runtime_error("plan line " + std::to_string(step.Line) + ": not a number: " + word);
  return std::stoi(word);
}

bool IsKeyName(const std::string &name) {
  std::string key = name.rfind("Ctrl+", 0) == 0 ? name.substr(5) : name;
  for (const char *known : {"Down", "Up", "PageDown", "PageUp", "Home", "End"})
    if (key == known) return true;
  return false;
}

// A navigation line: "> " and a verb with its arguments.
TStep ReadMove(const std::string &text, TStep step) {
  std::stringstream words(text);
  std::string verb, a, b;
  words >> verb >> a >> b;
  auto bad = [&](const std::string &why) {
    return std::runtime_error("plan line " + std::to_string(step.Line) + ": " + why + ": " + step.Source);
  };
  std::string rest;
  if (words >> rest) throw bad("too many words");
  using K = TStep::TKind;
  if (verb == "first" || verb == "prior" || verb == "next" || verb == "last") {
    if (!a.empty()) throw bad("no argument expected");
    step.Kind = K::Button, step.Text = verb;
  } else if (verb == "row") {
    step.Kind = K::Row, step.Count = Number(a, step);
    if (step.Count < 1 || !b.empty()) throw bad("expected: > row N (a question number)");
  } else if (verb == "wheel") {
    if (a != "up" && a != "down") throw bad("expected: > wheel up|down [N]");
    step.Kind = K::Wheel, step.Count = b.empty() ? 1 : Number(b, step);
    if (a == "up") step.Count = -step.Count;
  } else if (verb == "key") {
    if (!IsKeyName(a) || !b.empty()) throw bad("expected: > key [Ctrl+]Down|Up|PageDown|PageUp|Home|End");
    step.Kind = K::Key, step.Text = a;
  } else if (verb == "scroll") {
    step.Kind = K::Scroll;
    if (a == "top" || a == "bottom") {
      if (!b.empty()) throw bad("no count expected");
      step.Text = a;
    } else if (a == "up" || a == "down") {
      step.Text = "arrow", step.Count = b.empty() ? 1 : Number(b, step);
      if (a == "up") step.Count = -step.Count;
    } else {
      throw bad("expected: > scroll up|down [N] or > scroll top|bottom");
    }
  } else if (verb == "tick") {
    if (a.empty() || !b.empty() ||
        !std::all_of(a.begin(), a.end(), [](char c) { return c >= 'A' && c <= 'F'; }))
      throw bad("expected: > tick LETTERS (A to F)");
    step.Kind = K::Tick, step.Text = a;
  } else if (verb == "picture") {
    if (a.empty() || !b.empty()) throw bad("expected: > picture NAME");
    step.Kind = K::Picture, step.Text = a;
  } else {
    throw bad("unknown step");
  }
  return step;
}

} // namespace

bool TPlan::AnswersOnly() const {
  return std::all_of(Steps.begin(), Steps.end(),
                     [](const TStep &s) { return s.Kind == TStep::TKind::Answer; });
}

TPlan ReadPlan(const std::string &path) {
  std::ifstream in(Widen(path).c_str(), std::ios::binary);
  if (!in) throw std::runtime_error("cannot read the plan " + path);
  TPlan plan;
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (number == 1 && line.rfind("\xEF\xBB\xBF", 0) == 0) line.erase(0, 3);
    if (line.rfind("#", 0) == 0) {
      const std::string subjects = "# subjects:", sql = "# sql:";
      if (line.rfind(subjects, 0) == 0) {
        plan.SubjectsGiven = true;
        std::stringstream list(line.substr(subjects.size()));
        std::string subject;
        while (std::getline(list, subject, ','))
          plan.Subjects.insert(Trim(subject));
      } else if (line.rfind(sql, 0) == 0) {
        plan.Sql.push_back(Trim(line.substr(sql.size())));
      }
      continue;
    }
    TStep step;
    step.Line = number;
    step.Source = Trim(line);
    if (line.rfind(">", 0) == 0)
      plan.Steps.push_back(ReadMove(line.substr(1), step));
    else
      step.Text = step.Source, plan.Steps.push_back(step);
  }
  return plan;
}

} // namespace qv::e2e
