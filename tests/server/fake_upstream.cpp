#include "fake_upstream.h"

#include <nlohmann/json.hpp>

#include "text/percent_coding.h"

namespace parlavo::server::testing {

namespace {

using nlohmann::json;

std::string Bracketed(const std::string& text) { return "[" + text + "]"; }

std::string MicrosoftEcho(const FakeUpstream::Request& request) {
  json reply = json::array();
  for (const json& text : json::parse(request.body)) {
    reply.push_back({{"detectedLanguage", {{"language", "en"}, {"score", 1}}},
                     {"translations", {{{"text", Bracketed(text.get<std::string>())}, {"to", "zh-Hans"}}}}});
  }
  return reply.dump();
}

std::string TransmartEcho(const FakeUpstream::Request& request) {
  json translations = json::array();
  const json body = json::parse(request.body);
  for (const json& text : body["source"]["text_list"]) {
    translations.push_back(Bracketed(text.get<std::string>()));
  }
  return json{{"header", {{"type", "auto_translation"}, {"ret_code", "succ"}}}, {"auto_translation", translations}}
      .dump();
}

std::string GoogleEcho(const FakeUpstream::Request& request) {
  const auto q = request.query.find("q");
  const std::string text = q != request.query.end() ? q->second : PercentDecode(request.body.substr(2)).value_or("");
  return json::array({json::array({json::array({Bracketed(text), text})}), nullptr, "zh"}).dump();
}

std::string LibreEcho(const FakeUpstream::Request& request) {
  return json{{"translatedText", Bracketed(json::parse(request.body).value("q", ""))}}.dump();
}

}  // namespace

std::string FakeUpstream::Request::Header(const std::string& name) const {
  const auto found = headers.find(name);
  return found == headers.end() ? std::string() : found->second;
}

FakeUpstream::FakeUpstream() {
  Route("POST", "/translate/translatetext", MicrosoftEcho);
  Route("POST", "/api/imt", TransmartEcho);
  Route("POST", "/translate_a/single", GoogleEcho);
  Route("GET", "/translate_a/single", GoogleEcho);
  Route("POST", "/translate", LibreEcho);
  m_server.server().Get("/frontend/settings", [this](const httplib::Request&, httplib::Response& response) {
    std::lock_guard lock(m_mutex);
    const auto answer = m_answers.find("GET /frontend/settings");
    response.set_content(answer != m_answers.end() ? answer->second.second : json{{"charLimit", m_charLimit}}.dump(),
                         "application/json");
  });
  m_server.Start();
}

void FakeUpstream::Route(const std::string& method, const std::string& path, Echo echo) {
  const auto handler = [this, method, path, echo](const httplib::Request& request, httplib::Response& response) {
    const Request seen{method, path, request.body, request.params, request.headers};
    std::lock_guard lock(m_mutex);
    m_requests.push_back(seen);
    const auto answer = m_answers.find(method + " " + path);
    response.status = answer != m_answers.end() ? answer->second.first : 200;
    response.set_content(answer != m_answers.end() ? answer->second.second : echo(seen), "application/json; charset=UTF-8");
  };
  if (method == "GET") m_server.server().Get(path, handler);
  else m_server.server().Post(path, handler);
}

void FakeUpstream::Answer(const std::string& route, int status, std::string body) {
  std::lock_guard lock(m_mutex);
  m_answers[route] = {status, std::move(body)};
}

void FakeUpstream::SetCharLimit(int limit) {
  std::lock_guard lock(m_mutex);
  m_charLimit = limit;
}

std::vector<FakeUpstream::Request> FakeUpstream::Requests() const {
  std::lock_guard lock(m_mutex);
  return m_requests;
}

std::vector<FakeUpstream::Request> FakeUpstream::Requests(const std::string& route) const {
  std::vector<Request> matching;
  for (const Request& request : Requests()) {
    if (request.method + " " + request.path == route) matching.push_back(request);
  }
  return matching;
}

}  // namespace parlavo::server::testing
