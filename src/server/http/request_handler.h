#pragma once

#include <string>
#include <vector>

#include "engines/translation_engine.h"

namespace parlavo::server {

struct ServiceRequest {
  std::string method;
  std::string target;  // as on the request line
  std::vector<std::string> hostHeaders;
  // What browsers add to requests made by web pages; our client sends neither.
  std::vector<std::string> origins = {};
  std::vector<std::string> fetchSites = {};
  // Content-Length other than 0, or Transfer-Encoding: the request has a body.
  bool hasBody = false;
};

struct ServiceReply {
  int status = 200;
  std::string body;  // a JSON envelope
  bool allowGetOnly = false;  // a 405 names the methods that work
  bool closeConnection = false;  // what follows on the connection is not read
};

// Longest text accepted for detection or translation, in UTF-8 bytes.
inline constexpr std::size_t kMaxTextBytes = 1024 * 1024;

// Everything the service answers, apart from the HTTP plumbing: the refusal
// of bodies, the host and cross-site checks, the two API paths, the parameter
// checks, the engine's result or error in the envelope.
class RequestHandler {
 public:
  RequestHandler(TranslationEngine& engine, std::string listenHost)
      : m_engine(engine), m_listenHost(std::move(listenHost)) {}

  ServiceReply Handle(const ServiceRequest& request) const;

 private:
  ServiceReply Detect(const std::string& text) const;
  ServiceReply Translate(const std::string& text, const std::string& langpair) const;

  TranslationEngine& m_engine;
  std::string m_listenHost;
};

}  // namespace parlavo::server
