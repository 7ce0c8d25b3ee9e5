#pragma once

namespace tarvex {

// How Split cuts the sources (and which audio Join takes).
enum class SplitFunction {
  Custom,         // the ranges marked on each source
  EveryNSeconds,  // pieces of N seconds
  EqualPieces,    // N pieces of equal length
  Unification,    // the first source's marked ranges, cut out of every source
};

// The settings file keeps the function as 0 to 3; anything else reads as Custom.
constexpr SplitFunction splitFunctionFromIni(int value) {
  switch (value) {
    case 1:
      return SplitFunction::EveryNSeconds;
    case 2:
      return SplitFunction::EqualPieces;
    case 3:
      return SplitFunction::Unification;
    default:
      return SplitFunction::Custom;
  }
}

constexpr int iniValue(SplitFunction function) {
  return static_cast<int>(function);
}

// Custom and Unification take their ranges from the marks.
constexpr bool marksRanges(SplitFunction function) {
  return function == SplitFunction::Custom || function == SplitFunction::Unification;
}

}  // namespace tarvex
