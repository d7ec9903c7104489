#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "raw_connection.h"
#include "service_fixture.h"

namespace parlavo::server {
namespace {

using testing::RawConnection;
using testing::StatusOf;

const std::string kRequest =
    "GET /ajax/services/language/detect?v=1.0&q=%68%69 HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n";

TEST(ServiceConcurrencyTest, ManyConnectionsAndStalledClientsDoNotStopOthersBeingServed) {
  testing::RunningService service(testing::RealDictionaryEngine());

  // Clients that start a request and never finish it.
  std::vector<std::unique_ptr<RawConnection>> stalled;
  for (int i = 0; i < 4; ++i) {
    stalled.push_back(std::make_unique<RawConnection>(service.port()));
    ASSERT_TRUE(stalled.back()->connected());
    stalled.back()->Send("GET /ajax/services/language/detect?v=1.0&q=%68%69 HTTP/1.1\r\nHost: 127.");
  }

  // 200 connections open at the same time, every request sent before any
  // reply is read.
  constexpr int kConnections = 200;
  std::vector<std::unique_ptr<RawConnection>> connections;
  for (int i = 0; i < kConnections; ++i) {
    connections.push_back(std::make_unique<RawConnection>(service.port()));
    ASSERT_TRUE(connections.back()->connected()) << "connection " << i;
  }
  for (auto& connection : connections) connection->Send(kRequest);
  int served = 0;
  for (auto& connection : connections) {
    const std::string reply = connection->ReceiveAll(std::chrono::seconds(20));
    if (StatusOf(reply) == 200 && reply.find(R"("language":"en")") != std::string::npos) ++served;
  }
  EXPECT_EQ(served, kConnections);

  // A stalled client is dropped after the read time limit instead of holding
  // its worker for ever.
  for (auto& connection : stalled) {
    connection->ReceiveAll(std::chrono::seconds(ServiceServer::kReadTimeoutSeconds + 10));
    EXPECT_TRUE(connection->closedByPeer());
  }
}

}  // namespace
}  // namespace parlavo::server
