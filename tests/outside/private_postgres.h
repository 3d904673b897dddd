// The tests' private PostgreSQL cluster (scripts/pg-cluster), never a
// system-wide service. ctest's fixture "postgres" starts it before the tests
// that need it and stops it after them; a test program run by itself starts
// it and stops it when it ends. Each test works in a schema of its own.
#pragma once

#include <libpq-fe.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/child_output.h"

namespace qx::test {

class PrivatePostgres {
 public:
  static PrivatePostgres& Get() {
    static PrivatePostgres cluster;
    return cluster;
  }

  // The cluster's socket folder; empty when PostgreSQL cannot run here.
  const std::string& folder() const { return folder_; }
  const std::string& why() const { return why_; }

  // A new empty schema and the connection value whose current schema it is
  // (with more server options, when given); its connections are named after
  // it.
  std::string NewSchema(const std::string& options = "") {
    const std::string schema = NewName();
    Run("CREATE SCHEMA " + schema);
    return Base() + " application_name=" + schema + " options=" + options +
           "-csearch_path=" + schema;
  }

  // Runs sql as the cluster's superuser (in the schema of `connection`, when
  // given); the text of the first value, or of the error.
  std::string Run(const std::string& sql, const std::string& connection = "") {
    PGconn* conn = PQconnectdb((connection.empty() ? Base() : connection).c_str());
    PGresult* result = PQexec(conn, sql.c_str());
    std::string answer = PQresultStatus(result) == PGRES_TUPLES_OK && PQntuples(result) > 0
                             ? PQgetvalue(result, 0, 0)
                             : PQresultErrorMessage(result);
    PQclear(result);
    PQfinish(conn);
    return answer;
  }

  // A new empty database and the connection value that names it; its
  // connections are named after it too.
  std::string NewDatabase() {
    const std::string name = NewName();
    Run("CREATE DATABASE " + name);
    return "host=" + folder_ + " dbname=" + name + " user=postgres application_name=" + name;
  }

  // Ends every connection a schema's connection value names: the database
  // goes away under them, as when its server stops.
  void CutConnections(const std::string& connection) {
    Run("SELECT count(pg_terminate_backend(pid)) FROM pg_stat_activity WHERE application_name = '" +
        Name(connection) + "'");
  }

  // A database of NewDatabase gone for its clients, as when its server
  // stopped (every connection ended, new ones refused), or back again.
  void SetReachable(const std::string& connection, bool reachable) {
    Run("ALTER DATABASE " + Name(connection) + " ALLOW_CONNECTIONS " +
        (reachable ? "true" : "false"));
    if (!reachable) CutConnections(connection);
  }

 private:
  PrivatePostgres() {
    const std::string state = std::string(QX_TEST_BINARY_DIR) + "/postgres/cluster";
    std::string before;
    std::ifstream(state) >> before;
    const bool running = !before.empty() && std::filesystem::exists(before + "/.s.PGSQL.5432");
    std::string output;
    const int started = RunForOutput(
        {std::string(QX_SOURCE_DIR) + "/scripts/pg-cluster", "start", state}, 120000, &output);
    if (started != 0 || output.empty() || output.back() != '\n') {
      why_ = "PostgreSQL does not start here (scripts/deps postgresql)";
      return;
    }
    folder_ = output.substr(0, output.size() - 1);
    if (!running) stop_ = state;
  }
  ~PrivatePostgres() {
    std::string ignored;
    if (!stop_.empty()) {
      RunForOutput({std::string(QX_SOURCE_DIR) + "/scripts/pg-cluster", "stop", stop_}, 60000,
                   &ignored);
    }
  }

  static std::string NewName() {
    static std::atomic<int> count{0};
    return "t" + std::to_string(getpid()) + "_" + std::to_string(count.fetch_add(1));
  }
  static std::string Name(const std::string& connection) {
    const size_t at = connection.find("application_name=") + 17;
    return connection.substr(at, connection.find(' ', at) - at);
  }

  std::string Base() const { return "host=" + folder_ + " dbname=postgres user=postgres"; }

  std::string folder_, why_, stop_;
};

}  // namespace qx::test
