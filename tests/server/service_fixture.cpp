#include "service_fixture.h"

#include <unistd.h>

#include <atomic>

#include "indexer/index_writer.h"

namespace parlavo::server::testing {

DictionaryEngine& RealDictionaryEngine() {
  static DictionaryEngine engine(DictionaryIndex::Load(PARLAVO_TEST_DICTIONARY_INDEX));
  return engine;
}

TemporaryFile::TemporaryFile(const std::string& stem) {
  static std::atomic<int> counter = 0;
  m_path = std::filesystem::temp_directory_path() /
           (stem + "-" + std::to_string(getpid()) + "-" + std::to_string(counter++));
}

TemporaryFile::~TemporaryFile() {
  std::error_code ignored;
  std::filesystem::remove(m_path, ignored);
}

DictionaryIndex IndexOf(const DictionaryTables& tables) {
  TemporaryFile file("parlavo-index");
  WriteDictionaryIndex(tables, file.path());
  return DictionaryIndex::Load(file.path());
}

RunningService::RunningService(TranslationEngine& engine, ServerLimits limits)
    : m_server(engine, limits), m_port(m_server.Serve("127.0.0.1", 0)) {}

httplib::Client RunningService::Client() const {
  httplib::Client client("127.0.0.1", m_port);
  client.set_connection_timeout(5, 0);
  client.set_read_timeout(10, 0);
  return client;
}

std::string EncodeEveryByte(const std::string& text) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string encoded;
  for (unsigned char byte : text) {
    encoded += '%';
    encoded += kHex[byte >> 4];
    encoded += kHex[byte & 0x0F];
  }
  return encoded;
}

}  // namespace parlavo::server::testing
