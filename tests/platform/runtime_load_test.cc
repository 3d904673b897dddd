// Many client processes and threads at once, and clients that die.
#include <thread>
#include <vector>

#include "runtime_support.h"

namespace qx::test {
namespace {

using RuntimeLoadTest = RuntimeTest;

// In a client process: `objects` adders on threads of their own, `calls` checked calls
// each; the number of wrong answers.
int RunClient(int client, int objects, int calls) {
  std::atomic<int> wrong{0};
  std::vector<std::thread> threads;
  for (int object = 0; object < objects; ++object) {
    threads.emplace_back([&, object] {
      IRuntimeAdder* adder = CreateRemoteAdder();
      if (adder == nullptr) {
        wrong += calls;
        return;
      }
      int32_t base = client * 1000000 + object * 10000;
      for (int i = 0; i < calls; ++i) {
        int32_t sum = 0;
        if (adder->Add(base, i, &sum) != S_OK || sum != base + i) ++wrong;
        if (i % 50 == 0) {
          UniqueBstr text(BstrFromCp1252(std::to_string(base + i)));
          BSTR copy = nullptr;
          if (adder->Echo(text.get(), &copy) != S_OK ||
              BstrToCp1252(copy) != BstrToCp1252(text.get()))
            ++wrong;
          SysFreeString(copy);
        }
      }
      adder->Release();
    });
  }
  for (auto& thread : threads) thread.join();
  return wrong.load();
}

TEST_F(RuntimeLoadTest, ManyClientProcessesGetEveryAnswer) {
  // The clients are forked before the server's threads exist, then let go together.
  std::vector<std::unique_ptr<Child>> clients;
  for (int client = 0; client < 8; ++client) {
    clients.push_back(std::make_unique<Child>([client](Child& self) {
      if (self.Receive() != 'g') return 100;
      return RunClient(client, 4, 200);
    }));
  }
  AdderServer server;
  ASSERT_EQ(server.result(), S_OK);
  for (auto& client : clients) client->Send('g');
  for (auto& client : clients) EXPECT_EQ(client->Wait(), 0);
  EXPECT_TRUE(WaitFor([] { return LiveObjectCount() == 0; }));
}

TEST_F(RuntimeLoadTest, KilledClientsReleaseTheirObjects) {
  Child client([](Child& self) {
    if (self.Receive() != 'g') return 100;
    std::vector<IRuntimeAdder*> adders;
    for (int i = 0; i < 3; ++i) {
      IRuntimeAdder* adder = CreateRemoteAdder();
      if (adder == nullptr) return 1;
      adders.push_back(adder);
    }
    self.Send('r');
    self.Receive();  // killed while waiting here
    return 2;
  });
  AdderServer server;
  ASSERT_EQ(server.result(), S_OK);
  client.Send('g');
  ASSERT_EQ(client.Receive(), 'r');
  EXPECT_EQ(LiveObjectCount(), 3);
  client.Kill();
  EXPECT_TRUE(WaitFor([] { return LiveObjectCount() == 0; }));
  ExpectServed();
}

}  // namespace
}  // namespace qx::test
