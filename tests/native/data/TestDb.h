#pragma once
// Shared fixture of the data suite: a scratch folder with a real exam database holding a small
// bank, and a recorder of dataset hooks.
#include "platform/data/Connection.h"
#include "platform/data/Query.h"
#include "platform/data/Schema.h"

#include <filesystem>
#include <string>
#include <vector>

namespace qv::test {

// A fresh folder under the temporary directory, removed with everything in it.
class TTempDir {
public:
  TTempDir();
  ~TTempDir();
  std::string File(const std::string &name) const;
  const std::filesystem::path &Path() const { return path_; }

private:
  std::filesystem::path path_;
};

struct TQuestion {
  std::string Subject, Type;
  int No;
  std::string Stem, Right;
  int Points;
};

// The fixture bank, inserted in an order that is not the paper order.
const std::vector<TQuestion> &FixtureBank();

void InsertQuestion(TConnection &connection, const TQuestion &q);

// Creates exam.db in `dir` with the schema and the fixture bank, and opens `connection` on it.
void CreateFixtureDatabase(TConnection &connection, const TTempDir &dir);

// Builds the paper the way the exam does: statements 1 to 3 through `query`, then numbers the
// rows one by one (edit, write sNo, post, next).
void BuildPaper(TQuery &query, const std::vector<std::string> &subjects);

// Runs `sql` and returns the first column of the first row as text.
std::string Scalar(TConnection &connection, const std::string &sql);

} // namespace qv::test
