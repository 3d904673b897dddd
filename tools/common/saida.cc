#include "common/saida.h"

#include <nlohmann/json.hpp>

#include "common/json_celula.h"

namespace qx::cli {

struct Saida::Documento {
  nlohmann::ordered_json objeto = nlohmann::ordered_json::object();
};

Saida::Saida(Formato formato) : formato_(formato), documento_(std::make_unique<Documento>()) {}

Saida::~Saida() = default;

void Saida::Mostra(const std::string& chave, const std::string& titulo, const Tabela& tabela) {
  switch (formato_) {
    case Formato::kPessoas:
      if (!titulo.empty()) std::printf("%s\n", titulo.c_str());
      tabela.EscreveAlinhada(stdout);
      break;
    case Formato::kJson:
      documento_->objeto[chave] = LinhasJson(tabela);
      break;
    case Formato::kCsv:
    case Formato::kPlanilha: {
      const FormaCsv forma =
          formato_ == Formato::kCsv ? FormaCsv::kProgramas : FormaCsv::kPlanilha;
      std::fputs(blocos_ ? "\r\n" : InicioCsv(forma), stdout);
      tabela.EscreveCsv(stdout, forma);
      blocos_ = true;
      break;
    }
  }
}

void Saida::Resumo(const std::string& chave, const Tabela& linha, const std::string& texto) {
  if (formato_ == Formato::kJson) {
    const nlohmann::ordered_json linhas = LinhasJson(linha);
    documento_->objeto[chave] = linhas.empty() ? nlohmann::ordered_json::object() : linhas[0];
  } else if (formato_ != Formato::kPessoas) {
    Mostra(chave, "", linha);
  } else {
    Aviso(texto);
  }
}

void Saida::Campo(const std::string& chave, const Celula& valor) {
  if (formato_ == Formato::kJson) documento_->objeto[chave] = ParaJson(valor);
}

void Saida::Aviso(const std::string& texto) const {
  if (formato_ == Formato::kPessoas) std::printf("%s\n", texto.c_str());
}

void Saida::Termina() {
  if (formato_ == Formato::kJson && !documento_->objeto.empty()) {
    std::printf("%s\n", Escreve(documento_->objeto).c_str());
  }
  documento_->objeto = nlohmann::ordered_json::object();
  std::fflush(stdout);
}

}  // namespace qx::cli
