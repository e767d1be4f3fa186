#include "tools/bankedit/QuestionRules.h"

#include "tools/qbank/Bank.h"

#include <algorithm>

namespace qv::bankedit {

const std::vector<std::string> &QuestionTypes() {
  static const std::vector<std::string> types = {bank::kSingle, bank::kMultiple, bank::kTrueFalse};
  return types;
}

std::string KeyProblem(const std::string &type, const std::string &key) {
  if (type == bank::kSingle) {
    if (key.size() == 1 && key[0] >= 'A' && key[0] <= 'D') return {};
    return "单项选择题的答案应为 A、B、C、D 之一（现为“" + key + "”）";
  }
  if (type == bank::kMultiple) {
    bool ordered = key.size() >= 2;
    for (size_t i = 0; i < key.size() && ordered; ++i)
      ordered = key[i] >= 'A' && key[i] <= 'F' && (i == 0 || key[i] > key[i - 1]);
    if (ordered) return {};
    return "多项选择题的答案应为 A 至 F 中至少两个不同的大写字母，按字母顺序（如 ACD；现为“" + key + "”）";
  }
  if (type == bank::kTrueFalse) {
    if (key == "对" || key == "错") return {};
    return "判断题的答案应为“对”或“错”（现为“" + key + "”）";
  }
  return "题型“" + type + "”无效：应为 单项选择、多项选择 或 判断题";
}

std::string QuestionProblem(const TQuestionValues &q) {
  const std::vector<std::string> &subjects = bank::Subjects();
  if (std::find(subjects.begin(), subjects.end(), q.Subject) == subjects.end()) {
    std::string list;
    for (const std::string &s : subjects)
      list += (list.empty() ? "“" : "、“") + s + "”";
    return "科目“" + q.Subject + "”无效：应为 " + list + " 之一";
  }
  if (std::string problem = KeyProblem(q.Type, q.Key); !problem.empty()) return problem;
  if (!q.HasPoints || q.Points < 1 || q.Points > 100) return "分值应为 1 至 100 的整数";
  return {};
}

} // namespace qv::bankedit
