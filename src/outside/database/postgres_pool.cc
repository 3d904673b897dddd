#include "outside/database/postgres_pool.h"

#include <libpq-fe.h>

#include <mutex>
#include <vector>

#include "platform/process_info.h"

namespace qx {
namespace {

struct Pool {
  std::mutex mutex;
  uint32_t process = 0;
  std::map<std::string, std::vector<std::unique_ptr<PostgresLink>>> idle;
};

Pool& ThePool() {
  static Pool* pool = new Pool;  // outlives every database closed at exit
  return *pool;
}

// In a child, the parent's connections are left alone: closing one would end
// the parent's session on the server.
void ForgetParents(Pool& pool) {
  const uint32_t process = CurrentProcessId();
  if (pool.process == process) return;
  for (auto& [connection, links] : pool.idle) {
    for (auto& link : links) link->conn = nullptr;  // not closed
  }
  pool.idle.clear();
  pool.process = process;
}

}  // namespace

PostgresLink::~PostgresLink() { PQfinish(conn); }

std::unique_ptr<PostgresLink> TakePostgresLink(const std::string& connection) {
  Pool& pool = ThePool();
  std::lock_guard lock(pool.mutex);
  ForgetParents(pool);
  std::vector<std::unique_ptr<PostgresLink>>& links = pool.idle[connection];
  if (links.empty()) return nullptr;
  std::unique_ptr<PostgresLink> link = std::move(links.back());
  links.pop_back();
  return link;
}

void GivePostgresLink(const std::string& connection, std::unique_ptr<PostgresLink> link) {
  if (!link || PQstatus(link->conn) != CONNECTION_OK ||
      PQtransactionStatus(link->conn) != PQTRANS_IDLE) {
    return;
  }
  Pool& pool = ThePool();
  std::lock_guard lock(pool.mutex);
  ForgetParents(pool);
  std::vector<std::unique_ptr<PostgresLink>>& links = pool.idle[connection];
  if (links.size() < kMostIdlePostgresLinks) links.push_back(std::move(link));
}

}  // namespace qx
