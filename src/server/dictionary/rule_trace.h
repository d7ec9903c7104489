#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace parlavo::server {

// The names of the transfer rules that fired, in order, for reading how a
// sentence was translated (server_phrasebook --trace).
class RuleTrace {
 public:
  void Fired(std::string_view rule) { m_rules.emplace_back(rule); }
  const std::vector<std::string>& rules() const { return m_rules; }
  // Forgets what fired after the first `count`: a rule that was tried and given up.
  void Truncate(std::size_t count) {
    if (count < m_rules.size()) m_rules.resize(count);
  }

 private:
  std::vector<std::string> m_rules;
};

inline void Fire(RuleTrace* trace, std::string_view rule) {
  if (trace) trace->Fired(rule);
}

// A rule of a stage: its name (what the trace shows) and what it does.
template <class Function>
struct NamedRule {
  std::string_view name;
  Function apply;
};

}  // namespace parlavo::server
