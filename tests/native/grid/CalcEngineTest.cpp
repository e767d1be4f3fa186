// The calculator's arithmetic, driven by keys as the buttons and the keyboard send them.
#include "grid/CalcEngine.h"

#include <gtest/gtest.h>

#include <limits>

namespace qv {
namespace {

// Sends every character of keys in turn.
TCalcEngine &Type(TCalcEngine &engine, const std::string &keys) {
  for (char k : keys)
    engine.Key(k);
  return engine;
}

std::string Result(const std::string &keys, char separator = '.') {
  TCalcEngine engine(separator);
  return Type(engine, keys).Display();
}

TEST(CalcEngine, ChainsEvaluateLeftToRight) {
  EXPECT_EQ(Result("2+3*4="), "20");
  EXPECT_EQ(Result("10-4/3="), "2");
  EXPECT_EQ(Result("1+2+3+4+5+6+7+8+9+10="), "55");
  // Enter is "=", and an operator right after another only replaces it.
  EXPECT_EQ(Result("7*+2\r"), "9");
  // A result is the first operand of what follows.
  EXPECT_EQ(Result("6*7=-2="), "40");
  EXPECT_EQ(Result("0.1+0.2="), "0.3");
  EXPECT_EQ(Result("3/4="), "0.75");
}

TEST(CalcEngine, PercentDependsOnThePendingOperator) {
  EXPECT_EQ(Result("2+3%"), "2.06");
  EXPECT_EQ(Result("50*10%"), "5");
  EXPECT_EQ(Result("200-10%"), "180");
  EXPECT_EQ(Result("50/10%"), "500");
  // Without an operator the number stands as it is.
  EXPECT_EQ(Result("8%"), "8");
}

TEST(CalcEngine, DivisionByZeroAndBadUnaryGiveErrorUntilC) {
  TCalcEngine engine;
  Type(engine, "1/0=");
  EXPECT_EQ(engine.Display(), "Error");
  EXPECT_EQ(engine.Status(), TCalcEngine::TStatus::Error);
  EXPECT_EQ(engine.Value(), 0);
  Type(engine, "5+\x1bI\bR=");
  EXPECT_EQ(engine.Display(), "Error") << "only C leaves the error state";
  EXPECT_FALSE(engine.Paste("12"));
  engine.Key('c');
  EXPECT_EQ(engine.Display(), "0");
  EXPECT_EQ(engine.PendingOperator(), '=');
  EXPECT_EQ(engine.Operand(), 0);
  EXPECT_EQ(Type(engine, "4+5=").Display(), "9");

  EXPECT_EQ(Result("0R"), "Error");
  EXPECT_EQ(Result("9IS"), "Error");
  EXPECT_EQ(Result("9S"), "3");
  EXPECT_EQ(Result("4R"), "0.25");
  // An overflowing result is an error, not "INF".
  std::string huge = "999999999999999";
  for (int i = 0; i < 21; ++i)
    huge += "*999999999999999";
  EXPECT_EQ(Result(huge + "="), "Error");
}

TEST(CalcEngine, SignChangeKeepsWhatIsBeingTyped) {
  EXPECT_EQ(Result("12.I"), "-12.");
  EXPECT_EQ(Result("12.II"), "12.");
  EXPECT_EQ(Result("I"), "0");
  EXPECT_EQ(Result("5I+8="), "3");
  EXPECT_EQ(Result("3*4=I"), "-12");
}

TEST(CalcEngine, DisplayLimits) {
  TCalcEngine engine;
  Type(engine, "1234567890123456");
  EXPECT_EQ(engine.Display(), "123456789012345") << "a sixteenth digit is ignored";
  engine.Key('I');
  engine.Key('7');
  EXPECT_EQ(engine.Display(), "-123456789012345") << "the minus does not count";
  // One separator only; a leading separator starts "0.".
  EXPECT_EQ(Result(".5.5"), "0.55");
  EXPECT_EQ(Result("007"), "7");
  // A result with an exponent takes no more digits until a new number starts.
  TCalcEngine big;
  Type(big, "100000000*100000000*10000=");
  EXPECT_EQ(big.Display(), "1E20");
  EXPECT_EQ(big.Value(), 1e20);
  EXPECT_EQ(Result("1/100000000=/100000000="), "1E-16");
  EXPECT_EQ(Result("2/3="), "0.666666666666667");
}

TEST(CalcEngine, BackspaceRemovesTheLastCharacterDownToZero) {
  EXPECT_EQ(Result("123\b"), "12");
  EXPECT_EQ(Result("7\b"), "0");
  EXPECT_EQ(Result("7I\b"), "0");
  EXPECT_EQ(Result("1.\b"), "1");
  // After a result Backspace starts a new number.
  EXPECT_EQ(Result("2+3=\b"), "0");
}

TEST(CalcEngine, EqualButtonCaption) {
  TCalcEngine engine;
  EXPECT_FALSE(engine.EqualMeansEquals());
  Type(engine, "5+");
  EXPECT_FALSE(engine.EqualMeansEquals()) << "no second number yet";
  engine.Key('2');
  EXPECT_TRUE(engine.EqualMeansEquals());
  engine.Key('=');
  EXPECT_FALSE(engine.EqualMeansEquals());
  // With a zero first operand the button stays "Ok".
  Type(engine, "C0+3");
  EXPECT_FALSE(engine.EqualMeansEquals());
}

TEST(CalcEngine, LocaleSeparatorValueAndPaste) {
  TCalcEngine engine(',');
  Type(engine, "1.5+1,25=");
  EXPECT_EQ(engine.Display(), "2,75");
  EXPECT_DOUBLE_EQ(engine.Value(), 2.75);
  engine.SetValue(-0.5);
  EXPECT_EQ(engine.Display(), "-0,5");

  TCalcEngine paste;
  Type(paste, "2+");
  EXPECT_TRUE(paste.Paste("  40\r\n"));
  EXPECT_EQ(Type(paste, "=").Display(), "42") << "pasted text counts as typed";
  EXPECT_FALSE(paste.Paste("abc"));
  EXPECT_FALSE(paste.Paste(""));
  EXPECT_EQ(paste.Display(), "42");
  paste.SetValue(std::numeric_limits<double>::infinity());
  EXPECT_EQ(paste.Display(), "Error");
}

} // namespace
} // namespace qv
