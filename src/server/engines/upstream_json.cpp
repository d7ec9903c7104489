#include "engines/upstream_json.h"

#include <algorithm>
#include <cstddef>

#include "engines/translation_engine.h"

namespace parlavo::server {

namespace {

using nlohmann::json;

constexpr int kMaxDepth = 32;
constexpr std::size_t kMaxValues = 200'000;
// The lexer's buffer holds up to twice the longest token.
constexpr std::size_t kLexerBytesPerBodyByte = 2;
// A value in the tree: its node in an object (with the key) or its slot in
// an array, and the allocator's overhead; strings add their characters.
constexpr std::size_t kBytesPerValue = 128;
// Charged in steps, not value by value.
constexpr std::size_t kChargeStep = 64 * 1024;

// nlohmann's own DOM builder, stopped (a false return ends the parse) at
// the limits.
class BoundedParser : public nlohmann::detail::json_sax_dom_parser<json> {
  using Base = nlohmann::detail::json_sax_dom_parser<json>;

 public:
  BoundedParser(json& result, UpstreamReply& reply) : Base(result, false), m_reply(reply) {}

  bool overBudget() const { return m_charge == ReplyCharge::OverBudget; }

  bool null() { return Counted() && Base::null(); }
  bool boolean(bool value) { return Counted() && Base::boolean(value); }
  bool number_integer(number_integer_t value) { return Counted() && Base::number_integer(value); }
  bool number_unsigned(number_unsigned_t value) { return Counted() && Base::number_unsigned(value); }
  bool number_float(number_float_t value, const string_t& text) { return Counted() && Base::number_float(value, text); }
  bool string(string_t& value) { return Counted(value.size()) && Base::string(value); }
  bool key(string_t& value) { return Charged(kBytesPerValue + value.size()) && Base::key(value); }
  bool binary(binary_t& value) { return Counted() && Base::binary(value); }
  bool start_object(std::size_t elements) { return Deeper() && Base::start_object(elements); }
  bool end_object() { return --m_depth, Base::end_object(); }
  bool start_array(std::size_t elements) { return Deeper() && Base::start_array(elements); }
  bool end_array() { return --m_depth, Base::end_array(); }

 private:
  bool Counted(std::size_t characters = 0) {
    return ++m_values <= kMaxValues && Charged(kBytesPerValue + characters);
  }
  bool Charged(std::size_t bytes) {
    m_used += bytes;
    if (m_used <= m_charged) return true;
    const std::size_t step = std::max(kChargeStep, m_used - m_charged);
    m_charge = ChargeReply(m_reply, step);
    if (m_charge != ReplyCharge::Taken) return false;
    m_charged += step;
    return true;
  }
  bool Deeper() { return Counted() && ++m_depth <= kMaxDepth; }

  UpstreamReply& m_reply;
  int m_depth = 0;
  std::size_t m_values = 0;
  std::size_t m_used = 0;
  std::size_t m_charged = 0;
  ReplyCharge m_charge = ReplyCharge::Taken;
};

}  // namespace

json ParseUpstreamJson(UpstreamReply& reply) {
  const auto overBudget = [] { return UpstreamError("上游回复超出内存预算", FailureKind::OverBudget); };
  switch (ChargeReply(reply, kLexerBytesPerBodyByte * reply.body.size())) {
    case ReplyCharge::Taken: break;
    case ReplyCharge::TooLarge: return json(json::value_t::discarded);
    case ReplyCharge::OverBudget: throw overBudget();
  }
  json result;
  BoundedParser parser(result, reply);
  if (!json::sax_parse(reply.body, &parser)) {
    if (parser.overBudget()) throw overBudget();
    return json(json::value_t::discarded);
  }
  return result;
}

}  // namespace parlavo::server
