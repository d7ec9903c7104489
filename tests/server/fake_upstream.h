#pragma once

#include <httplib.h>

#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "loopback_server.h"

namespace parlavo::server::testing {

// Every online engine's upstream in one, on 127.0.0.1: Microsoft's
// translatetext, TranSmart's api/imt, Google's translate_a/single (form and
// address), LibreTranslate's translate and frontend/settings. Unless told
// otherwise each echoes its paragraphs as "[paragraph]" (Google as one
// segment of the whole text), so that chunks and order show.
class FakeUpstream {
 public:
  struct Request {
    std::string method, path, body;
    httplib::Params query;
    httplib::Headers headers;
    std::string Header(const std::string& name) const;
  };

  FakeUpstream();
  // What `route` ("POST /api/imt") answers from now on instead of its echo.
  void Answer(const std::string& route, int status, std::string body);
  void SetCharLimit(int limit);  // LibreTranslate's /frontend/settings
  std::vector<Request> Requests() const;
  std::vector<Request> Requests(const std::string& route) const;
  std::string Url() const { return m_server.Url(); }

 private:
  using Echo = std::string (*)(const Request&);
  void Route(const std::string& method, const std::string& path, Echo echo);

  mutable std::mutex m_mutex;
  int m_charLimit = -1;
  std::map<std::string, std::pair<int, std::string>> m_answers;
  std::vector<Request> m_requests;
  parlavo::testing::LoopbackServer m_server;
};

}  // namespace parlavo::server::testing
