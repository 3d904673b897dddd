// A forked process that takes a mark and holds it until released or killed.
#pragma once

#include <string>

#include "../platform/test_support.h"
#include "storage/qx_arq_ex.h"

namespace qx_test {

class DonoDeMarca {
 public:
  // Returns once the child reports the result of its Marca (0 = held; -1 when no
  // report came). The child ends by itself after 30 seconds at the latest.
  DonoDeMarca(const std::string& pasta, int numero)
      : filho_([pasta, numero](qx::test::Child& self) {
          CQXArqEx arquivo;
          for (char c : std::to_string(arquivo.Marca(pasta.c_str(), numero)) + ";") self.Send(c);
          self.Receive();
          arquivo.Desmarca();
          return 0;
        }) {
    std::string texto;
    for (char c = filho_.Receive(); c != ';'; c = filho_.Receive()) {
      if (c == '\0') return;
      texto += c;
    }
    resultado_ = std::stoi(texto);
  }

  int Resultado() const { return resultado_; }
  // Lets the child release the mark with Desmarca and end.
  void Libera() {
    if (vivo_) {
      filho_.Send('x');
      filho_.Wait();
    }
    vivo_ = false;
  }
  // Ends the child with SIGKILL, without Desmarca.
  void Mata() {
    if (vivo_) filho_.Kill();
    vivo_ = false;
  }

 private:
  int resultado_ = -1;
  bool vivo_ = true;
  qx::test::Child filho_;
};

}  // namespace qx_test
