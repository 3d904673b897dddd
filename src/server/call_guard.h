// CallGuard: while a call of an initialised business object runs, that object
// is the calling thread's default company access (error reports name its
// company through it).
#pragma once

#include "outside/business/qx_base_para_rotinas.h"

namespace qx {

class CallGuard {
 public:
  explicit CallGuard(CQXBaseParaRotinas* objeto) : objeto_(objeto) {
    if (objeto_ != nullptr && objeto_->EstaInicializado()) {
      CQXBaseParaRotinas::SetAcessoDefault(objeto_);
      definiu_ = true;
    }
  }
  CallGuard(const CallGuard&) = delete;
  CallGuard& operator=(const CallGuard&) = delete;
  ~CallGuard() {
    if (definiu_) CQXBaseParaRotinas::SetAcessoDefault(nullptr);
  }

 private:
  CQXBaseParaRotinas* objeto_;
  bool definiu_ = false;
};

}  // namespace qx
