#pragma once
// What a question of the bank must hold before it is written: a subject of the login window, one of
// the three types, a key that fits the type and points from 1 to 100.
#include <string>
#include <vector>

namespace qv::bankedit {

// The question types, in the order the pick list offers them.
const std::vector<std::string> &QuestionTypes();

// An empty text when the key fits the type, else a message saying what the key must be.
std::string KeyProblem(const std::string &type, const std::string &key);

struct TQuestionValues {
  std::string Subject, Type, Key;
  bool HasPoints = false;
  long long Points = 0;
};

// The first problem of a question about to be posted, or an empty text.
std::string QuestionProblem(const TQuestionValues &q);

} // namespace qv::bankedit
