#include "panels/link_args.h"

namespace qv::panels {

namespace {
bool IsBlank(char c) { return c == ' ' || c == '\t'; }
}  // namespace

std::vector<std::string> SplitCommandLine(std::string_view s) {
  std::vector<std::string> words;
  if (s.empty()) return words;
  size_t i = 0;

  // The first word is a program path: a leading quote runs to the next quote
  // whatever comes between; otherwise the word runs to the next blank.
  std::string first;
  if (s[0] == '"') {
    for (i = 1; i < s.size(); ++i) {
      if (s[i] == '"') {
        ++i;
        break;
      }
      first += s[i];
    }
  } else {
    while (i < s.size() && !IsBlank(s[i])) first += s[i++];
  }
  words.push_back(std::move(first));

  while (i < s.size() && IsBlank(s[i])) ++i;
  if (i >= s.size()) return words;

  // The other words: quotes group and are removed, backslashes count only
  // before a quote, and runs of quotes follow the modern rule in which every
  // third quote of a run is a literal one.
  std::string word;
  size_t backslashes = 0;
  int quotes = 0;  // non-zero while inside quotes
  while (i < s.size()) {
    const char c = s[i];
    if (IsBlank(c) && quotes == 0) {
      words.push_back(std::move(word));
      word.clear();
      while (i < s.size() && IsBlank(s[i])) ++i;
      backslashes = 0;
      if (i >= s.size()) return words;
      continue;
    }
    if (c == '\\') {
      word += c;
      ++backslashes;
      ++i;
      continue;
    }
    if (c == '"') {
      if (backslashes % 2 == 0) {
        word.resize(word.size() - backslashes / 2);
        ++quotes;
      } else {
        word.resize(word.size() - backslashes / 2 - 1);
        word += '"';
      }
      ++i;
      backslashes = 0;
      while (i < s.size() && s[i] == '"') {
        if (++quotes == 3) {
          word += '"';
          quotes = 0;
        }
        ++i;
      }
      if (quotes == 2) quotes = 0;
      continue;
    }
    word += c;
    backslashes = 0;
    ++i;
  }
  words.push_back(std::move(word));
  return words;
}

std::string JoinParameters(const std::vector<std::string>& words) {
  std::string params;
  for (size_t i = 1; i < words.size(); ++i) {
    params += words[i];
    params += ' ';
  }
  return params;
}

}  // namespace qv::panels
