#pragma once

#include <string>
#include <vector>

#include "engines/translation_engine.h"
#include "platform/memory_budget.h"

namespace parlavo::server {

struct ServiceRequest {
  std::string method;
  std::string target;  // as on the request line
  std::vector<std::string> hostHeaders;
  // What browsers add to requests made by web pages; our client sends neither.
  std::vector<std::string> origins = {};
  std::vector<std::string> fetchSites = {};
  // Content-Length other than 0, Transfer-Encoding, or a header the
  // library may have misread as something else: the request may have a body.
  bool hasBody = false;
  // Any Content-Length at all: the library may not show all of its value.
  bool mentionsContentLength = false;
};

struct ServiceReply {
  int status = 200;
  std::string body;  // a JSON envelope
  bool allowGetOnly = false;  // a 405 names the methods that work
  bool closeConnection = false;  // what follows on the connection is not read
  MemoryBudget::Share memory = {};  // held until the reply has gone out
};

// Longest text accepted for detection or translation, in UTF-8 bytes.
inline constexpr std::size_t kMaxTextBytes = 1024 * 1024;
// What the work on a text may take from the memory budget, per byte of the
// text: the dictionary engine peaks at some 40 bytes per byte of English (15
// of Chinese).
inline constexpr std::size_t kWorkBytesPerTextByte = 40;

// Everything the service answers, apart from the HTTP plumbing: the refusal
// of bodies, the host and cross-site checks, the two API paths, the parameter
// checks, the engine's result or error in the envelope.
class RequestHandler {
 public:
  // `reachableFromNetwork`: the service listens beyond loopback, so the
  // machine's own names and addresses are accepted as Host too.
  RequestHandler(TranslationEngine& engine, std::string listenHost, bool reachableFromNetwork, MemoryBudget& budget)
      : m_engine(engine),
        m_listenHost(std::move(listenHost)),
        m_reachableFromNetwork(reachableFromNetwork),
        m_budget(budget) {}

  ServiceReply Handle(const ServiceRequest& request) const;

 private:
  ServiceReply Checked(const ServiceRequest& request) const;
  bool IsOurName(std::string_view authority) const;
  // Detection when `langpair` is null, else translation; engine errors as replies.
  ServiceReply Answered(const std::string& text, const std::string* langpair) const;
  ServiceReply Detect(const std::string& text) const;
  ServiceReply Translate(const std::string& text, const std::string& langpair) const;

  TranslationEngine& m_engine;
  std::string m_listenHost;
  bool m_reachableFromNetwork;
  MemoryBudget& m_budget;
};

}  // namespace parlavo::server
