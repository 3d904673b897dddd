#include "progresso.h"

#include <cstdio>

#include "platform/terminal.h"

namespace qxcn {

constexpr int kLargura = 30;

Progresso::Progresso(std::string titulo, size_t total)
    : titulo_(std::move(titulo)),
      total_(total),
      ativo_(total > 0 && qx::IsTerminal(qx::StandardStream::kError)) {}

Progresso::~Progresso() {
  if (ativo_ && ultimo_ >= 0) std::fputc('\n', stderr);
}

void Progresso::Avanca(size_t feitos) {
  if (!ativo_) return;
  const int cento = static_cast<int>(feitos * 100 / total_);
  if (cento == ultimo_) return;
  ultimo_ = cento;
  const int cheios = cento * kLargura / 100;
  std::fprintf(stderr, "\r%s [%.*s%*s] %3d%% (%zu/%zu)", titulo_.c_str(), cheios,
               "##############################", kLargura - cheios, "", cento, feitos, total_);
  std::fflush(stderr);
}

}  // namespace qxcn
