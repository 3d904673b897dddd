#include "reports/ecd/saida_ecd.h"

#include "reports/ecd/formato.h"

namespace qx::ecd {
namespace {

constexpr size_t kBuffer = 1 << 20;

}  // namespace

void SaidaEcd::Linha(std::initializer_list<std::string_view> campos) {
  const std::string_view registro = *campos.begin();
  if (registro[0] != bloco_) {
    bloco_ = registro[0];
    linhasBloco_ = 0;
  }
  ++linhas_;
  ++linhasBloco_;
  if (ultimo_ >= registros_.size() || registros_[ultimo_].first != registro) {
    ultimo_ = 0;
    while (ultimo_ < registros_.size() && registros_[ultimo_].first != registro) ++ultimo_;
    if (ultimo_ == registros_.size()) registros_.emplace_back(registro, 0);
  }
  ++registros_[ultimo_].second;
  if (destino_ == nullptr) return;
  for (const std::string_view campo : campos) {
    buffer_.push_back('|');
    ParaLatin1(campo, &buffer_);
  }
  buffer_.append("|\r\n");
  if (buffer_.size() >= kBuffer) Esvazia();
}

void SaidaEcd::Esvazia() {
  if (destino_ != nullptr && !buffer_.empty()) {
    destino_->write(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
  }
  buffer_.clear();
}

}  // namespace qx::ecd
