// The connections of this process to PostgreSQL, kept between transactions.
// A suite database on PostgreSQL takes one for each transaction (or each
// statement outside one) and gives it back at its end: a process holds as
// many connections as it runs transactions at once, not one per object and
// component, and opening a company costs no new connection. A connection
// that broke is not given back; a child process (fork) takes none of its
// parent's, whose server sessions are not its own.
#pragma once

#include <cstddef>
#include <map>
#include <memory>
#include <string>

struct pg_conn;

namespace qx {

// Idle connections kept per database; more are closed when given back.
inline constexpr size_t kMostIdlePostgresLinks = 8;

struct PostgresLink {
  PostgresLink() = default;
  ~PostgresLink();
  PostgresLink(const PostgresLink&) = delete;
  PostgresLink& operator=(const PostgresLink&) = delete;

  pg_conn* conn = nullptr;
  std::string lockKey;  // the two numbers of the writers' advisory lock of its schema
  std::map<std::string, std::string> prepared;  // statement names, by text and parameter kinds
};

// An idle connection to the database of the connection value, or null.
std::unique_ptr<PostgresLink> TakePostgresLink(const std::string& connection);
// Keeps a connection that is sound and in no transaction for the next
// taker; closes any other.
void GivePostgresLink(const std::string& connection, std::unique_ptr<PostgresLink> link);

}  // namespace qx
