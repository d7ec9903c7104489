#pragma once

#include <mutex>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "http/query_string.h"
#include "loopback_server.h"

namespace parlavo::server::testing {

// Google's web endpoint stood in for on 127.0.0.1: the engine takes its base
// address as a parameter, the real one being https. Answers what the test
// sets, or by default "<q>" for each q, so that chunks show in the result.
// Its parameters are those of the address and the form's q.
class FakeGoogle {
 public:
  FakeGoogle() {
    // Read through a content reader: the library refuses form bodies over
    // 8 KiB by itself, and chunks of Chinese are longer.
    m_server.server().Post("/translate_a/single", [this](const httplib::Request& request, httplib::Response& response,
                                                         const httplib::ContentReader& content) {
      std::string body;
      content([&](const char* data, std::size_t length) {
        body.append(data, length);
        return true;
      });
      std::lock_guard lock(m_mutex);
      m_parameters = request.params;
      const auto form = ParseQuery(body);
      m_queries.push_back(form && form->contains("q") ? form->at("q") : std::string());
      m_parameters.emplace("q", m_queries.back());
      response.status = m_status;
      const std::string echo =
          nlohmann::json::array({nlohmann::json::array({{"<" + m_queries.back() + ">", "?"}}), nullptr, "zh-CN"}).dump();
      response.set_content(m_echo ? echo : m_reply, "application/json; charset=UTF-8");
    });
    m_server.Start();
  }
  void Answer(int status, std::string reply) {
    std::lock_guard lock(m_mutex);
    m_status = status;
    m_reply = std::move(reply);
    m_echo = false;
  }
  std::multimap<std::string, std::string> LastParameters() const {
    std::lock_guard lock(m_mutex);
    return m_parameters;
  }
  std::vector<std::string> Queries() const {
    std::lock_guard lock(m_mutex);
    return m_queries;
  }
  int requests() const { return static_cast<int>(Queries().size()); }
  std::string Url() const { return m_server.Url(); }

 private:
  mutable std::mutex m_mutex;
  int m_status = 200;
  bool m_echo = true;
  std::string m_reply;
  std::multimap<std::string, std::string> m_parameters;
  std::vector<std::string> m_queries;
  parlavo::testing::LoopbackServer m_server;
};

}  // namespace parlavo::server::testing
