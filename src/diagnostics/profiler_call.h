// The profiler's record of one call of a frame: the entry line when the call
// starts and the exit line when it ends.
#pragma once

#include <initializer_list>
#include <string>

#include "diagnostics/profiler_record.h"

namespace qx {

struct ProfilerPair {
  std::string nome;   // parameter name
  std::string valor;  // parameter value as text
};

class ProfilerCall {
 public:
  explicit ProfilerCall(IQXDF_Profiler* identity);
  ProfilerCall(const ProfilerCall&) = delete;
  ProfilerCall& operator=(const ProfilerCall&) = delete;
  ~ProfilerCall() { Close(); }

  // The entry step, when the profiler is on: takes the frame name and up to
  // nine parameter pairs and writes the entry line when "Entrada" is on.
  void Entry(const char* frameName, std::initializer_list<ProfilerPair> pairs = {});
  // The exit step: when the entry step ran, writes the exit line when
  // "Saida" is on. Runs once; the destructor calls it too.
  void Close();

 private:
  ProfilerRecord record_;
};

}  // namespace qx
