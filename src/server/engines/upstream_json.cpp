#include "engines/upstream_json.h"

#include <cstddef>

namespace parlavo::server {

namespace {

using nlohmann::json;

constexpr int kMaxDepth = 32;
constexpr std::size_t kMaxValues = 200'000;

// nlohmann's own DOM builder, stopped (a false return ends the parse) at
// the limits.
class BoundedParser : public nlohmann::detail::json_sax_dom_parser<json> {
  using Base = nlohmann::detail::json_sax_dom_parser<json>;

 public:
  explicit BoundedParser(json& result) : Base(result, false) {}

  bool null() { return Counted() && Base::null(); }
  bool boolean(bool value) { return Counted() && Base::boolean(value); }
  bool number_integer(number_integer_t value) { return Counted() && Base::number_integer(value); }
  bool number_unsigned(number_unsigned_t value) { return Counted() && Base::number_unsigned(value); }
  bool number_float(number_float_t value, const string_t& text) { return Counted() && Base::number_float(value, text); }
  bool string(string_t& value) { return Counted() && Base::string(value); }
  bool binary(binary_t& value) { return Counted() && Base::binary(value); }
  bool start_object(std::size_t elements) { return Deeper() && Base::start_object(elements); }
  bool end_object() { return --m_depth, Base::end_object(); }
  bool start_array(std::size_t elements) { return Deeper() && Base::start_array(elements); }
  bool end_array() { return --m_depth, Base::end_array(); }

 private:
  bool Counted() { return ++m_values <= kMaxValues; }
  bool Deeper() { return Counted() && ++m_depth <= kMaxDepth; }

  int m_depth = 0;
  std::size_t m_values = 0;
};

}  // namespace

json ParseUpstreamJson(std::string_view body) {
  json result;
  BoundedParser parser(result);
  if (!json::sax_parse(body, &parser)) return json(json::value_t::discarded);
  return result;
}

}  // namespace parlavo::server
