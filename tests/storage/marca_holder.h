// A forked process that takes a mark and holds it until released or killed.
#pragma once

#include <sys/types.h>

#include <string>

namespace qx_test {

class DonoDeMarca {
 public:
  // Returns once the child reports the result of its Marca (0 = held). The
  // child ends by itself after 20 seconds at the latest.
  DonoDeMarca(const std::string& pasta, int numero);
  DonoDeMarca(const DonoDeMarca&) = delete;
  DonoDeMarca& operator=(const DonoDeMarca&) = delete;
  ~DonoDeMarca();

  int Resultado() const { return resultado_; }
  // Lets the child release the mark with Desmarca and end.
  void Libera();
  // Ends the child with SIGKILL, without Desmarca.
  void Mata();

 private:
  void Espera();

  pid_t pid_ = -1;
  int paraFilho_ = -1;
  int resultado_ = -1;
};

}  // namespace qx_test
