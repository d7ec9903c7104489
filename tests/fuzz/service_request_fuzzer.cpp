// The service's handling of one request, from the headers as libmicrohttpd
// hands them over to the reply, over the real dictionary: the request
// target, its query, detection and both directions of translation. Whatever
// comes, the reply is a 2xx or 4xx envelope that says its own status; a 5xx
// would mean a client can make the service fail.
#include <fuzzer/FuzzedDataProvider.h>

#include <nlohmann/json.hpp>

#include <cstddef>
#include <cstdint>
#include <string>

#include "engines/dictionary_engine.h"
#include "fuzz_support.h"
#include "http/request_handler.h"
#include "http/request_headers.h"

namespace {

using namespace parlavo::server;

// Most inputs reach the engines through one of the real requests; the
// first choice leaves the whole target to the fuzzer.
constexpr const char* kTargets[] = {
    "",
    "/ajax/services/language/detect?v=1.0&q=",
    "/ajax/services/language/translate?v=1.0&langpair=en|zh&q=",
    "/ajax/services/language/translate?v=1.0&langpair=zh|en&q=",
    "/ajax/services/language/translate?v=1.0&langpair=|en&q=",
};
constexpr const char* kMethods[] = {"GET", "HEAD", "POST"};

const RequestHandler& Handler() {
  static DictionaryEngine engine(DictionaryIndex::Load(PARLAVO_FUZZ_DICTIONARY_INDEX));
  static MemoryBudget budget(64 * 1024 * 1024);
  static const RequestHandler handler(engine, "127.0.0.1", false, budget);
  return handler;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  ServiceRequest request;
  request.method = input.PickValueInArray(kMethods);
  request.target = input.PickValueInArray(kTargets) + input.ConsumeRandomLengthString(2048);
  RecordHeader(request, "Host", "127.0.0.1");
  while (input.remaining_bytes() > 0) {
    const std::string name = input.ConsumeRandomLengthString(32);
    RecordHeader(request, name, input.ConsumeRandomLengthString(64));
  }
  const ServiceReply reply = Handler().Handle(request);
  PARLAVO_FUZZ_CHECK(reply.status >= 200 && reply.status < 500, "no request makes the service fail");
  const nlohmann::json envelope = nlohmann::json::parse(reply.body, nullptr, false);
  PARLAVO_FUZZ_CHECK(envelope.is_object() && envelope.value("responseStatus", 0) == reply.status,
                     "the reply is an envelope that says its status");
  PARLAVO_FUZZ_CHECK(!request.hasBody || reply.closeConnection, "a request with a body closes its connection");
  return 0;
}
