#pragma once
// The progress of a batch removal. The removal is one call, all or nothing;
// meanwhile, on a terminal, a second service object counts what is left of
// the batch twice a second and draws the bar on standard error.

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

#include "servico.h"
#include "values/qx_data.h"

namespace qxcn {

class ProgressoExclusao {
 public:
  ProgressoExclusao(const Identidade& identidade, uint32_t lote, CQXData de, CQXData ate,
                    size_t total);
  // Stops counting and ends the bar.
  ~ProgressoExclusao();
  ProgressoExclusao(const ProgressoExclusao&) = delete;
  ProgressoExclusao& operator=(const ProgressoExclusao&) = delete;

 private:
  void Conta(Identidade identidade, uint32_t lote, CQXData de, CQXData ate, size_t total);

  std::mutex mutex_;
  std::condition_variable sinal_;
  bool fim_ = false;
  std::thread contador_;
};

}  // namespace qxcn
