#include "progresso_exclusao.h"

#include <chrono>

#include "platform/terminal.h"
#include "progresso.h"
#include "reports/importacao/lote.h"

namespace qxcn {

ProgressoExclusao::ProgressoExclusao(const Identidade& identidade, uint32_t lote, CQXData de,
                                     CQXData ate, size_t total) {
  if (total == 0 || !qx::IsTerminal(qx::StandardStream::kError)) return;
  contador_ = std::thread(&ProgressoExclusao::Conta, this, identidade, lote, de, ate, total);
}

ProgressoExclusao::~ProgressoExclusao() {
  {
    const std::lock_guard trava(mutex_);
    fim_ = true;
  }
  sinal_.notify_all();
  if (contador_.joinable()) contador_.join();
}

void ProgressoExclusao::Conta(Identidade identidade, uint32_t lote, CQXData de, CQXData ate,
                              size_t total) {
  Progresso progresso("Excluindo", total);
  try {
    Servico servico(identidade);
    std::unique_lock trava(mutex_);
    while (!sinal_.wait_for(trava, std::chrono::milliseconds(500), [this] { return fim_; })) {
      trava.unlock();
      const auto restam = static_cast<size_t>(qx::ContaLote(servico, lote, de, ate));
      progresso.Avanca(total - std::min(restam, total));
      trava.lock();
    }
  } catch (...) {
    // The bar is a courtesy: the removal itself reports how it ended.
  }
}

}  // namespace qxcn
