#pragma once

#include <httplib.h>

#include <filesystem>
#include <string>

#include "dictionary/dictionary_index.h"
#include "engines/dictionary_engine.h"
#include "http/service_server.h"
#include "indexer/index_builder.h"

namespace parlavo::server::testing {

// The engine over the index the build made from CC-CEDICT, loaded once.
DictionaryEngine& RealDictionaryEngine();

// A file name in the temporary directory, removed with the object.
class TemporaryFile {
 public:
  explicit TemporaryFile(const std::string& stem);
  ~TemporaryFile();
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  const std::filesystem::path& path() const { return m_path; }

 private:
  std::filesystem::path m_path;
};

// An index of the given tables, written and loaded the way the service does.
DictionaryIndex IndexOf(const DictionaryTables& tables);

// The service on 127.0.0.1 with a port the system picks, for the test's
// lifetime.
class RunningService {
 public:
  explicit RunningService(TranslationEngine& engine, ServerLimits limits = {});
  RunningService(const RunningService&) = delete;
  RunningService& operator=(const RunningService&) = delete;

  int port() const { return m_port; }
  std::string Url() const { return "http://127.0.0.1:" + std::to_string(m_port); }
  httplib::Client Client() const;

 private:
  ServiceServer m_server;
  int m_port = 0;
};

// "%e4%bd%a0": every byte percent-encoded, as the desktop client sends text.
std::string EncodeEveryByte(const std::string& text);

}  // namespace parlavo::server::testing
