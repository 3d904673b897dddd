#include "marca_holder.h"

#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include "storage/qx_arq_ex.h"

namespace qx_test {

DonoDeMarca::DonoDeMarca(const std::string& pasta, int numero) {
  int paraFilho[2];
  int paraPai[2];
  if (pipe(paraFilho) != 0 || pipe(paraPai) != 0) abort();
  pid_ = fork();
  if (pid_ < 0) abort();
  if (pid_ == 0) {
    alarm(20);
    close(paraFilho[1]);
    close(paraPai[0]);
    CQXArqEx arquivo;
    const int resultado = arquivo.Marca(pasta.c_str(), numero);
    if (write(paraPai[1], &resultado, sizeof resultado) != sizeof resultado) _exit(2);
    char byte;
    (void)!read(paraFilho[0], &byte, 1);
    arquivo.Desmarca();
    _exit(0);
  }
  close(paraFilho[0]);
  close(paraPai[1]);
  paraFilho_ = paraFilho[1];
  if (read(paraPai[0], &resultado_, sizeof resultado_) != sizeof resultado_) resultado_ = -1;
  close(paraPai[0]);
}

DonoDeMarca::~DonoDeMarca() { Mata(); }

void DonoDeMarca::Libera() {
  if (paraFilho_ >= 0) (void)!write(paraFilho_, "x", 1);
  Espera();
}

void DonoDeMarca::Mata() {
  if (pid_ > 0) kill(pid_, SIGKILL);
  Espera();
}

void DonoDeMarca::Espera() {
  if (pid_ > 0) waitpid(pid_, nullptr, 0);
  pid_ = -1;
  if (paraFilho_ >= 0) close(paraFilho_);
  paraFilho_ = -1;
}

}  // namespace qx_test
