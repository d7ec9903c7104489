#include <gtest/gtest.h>

#include <memory>
#include <thread>
#include <vector>

#include "raw_connection.h"
#include "service_fixture.h"

namespace parlavo::server {
namespace {

using testing::RawConnection;
using testing::StatusOf;

const std::string kRequest = "GET /ajax/services/language/detect?v=1.0&q=%68%69 HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n";
const std::string kLastRequest =
    "GET /ajax/services/language/detect?v=1.0&q=%68%69 HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n";

// A slow client costs a connection, never a thread: dozens of clients that
// send a header byte now and then, and keep-alive clients that send a request
// every 1.5 s, while others are served. The trickling ones are closed when
// their request's time runs out, however steadily they trickle.
TEST(ServiceConcurrencyTest, SlowClientsDoNotStarveOthersAndAreClosedAtTheirDeadline) {
  ServerLimits limits;
  limits.requestTime = std::chrono::seconds(2);
  testing::RunningService service(testing::RealDictionaryEngine(), limits);
  std::vector<std::unique_ptr<RawConnection>> trickling;
  std::vector<httplib::Client> keptAlive;
  for (int i = 0; i < 40; ++i) trickling.push_back(std::make_unique<RawConnection>(service.port()));
  for (int i = 0; i < 10; ++i) {
    keptAlive.push_back(service.Client());
    keptAlive.back().set_keep_alive(true);
  }

  for (std::size_t round = 0; round < 3; ++round) {
    for (auto& connection : trickling) connection->Send(kRequest.substr(round, 1));
    for (auto& client : keptAlive) {
      const auto result = client.Get("/ajax/services/language/detect?v=1.0&q=hi");
      EXPECT_TRUE(result && result->status == 200) << "round " << round;
    }
    EXPECT_EQ(StatusOf(testing::Exchange(service.port(), kLastRequest)), 200) << "round " << round;
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
  }
  for (auto& connection : trickling) {
    connection->ReceiveAll(std::chrono::seconds(2));
    EXPECT_TRUE(connection->closedByPeer());
  }
}

}  // namespace
}  // namespace parlavo::server
