// The registration the file states (0000, I030, J900) and its signatories (J930).
#include <algorithm>

#include "reports/ecd/conferencia.h"
#include "reports/ecd/formato.h"
#include "values/registro_pj.h"

namespace qx::ecd {
namespace {

constexpr const char* kCadastro = "qxadmin cadastro define EMPRESA";
constexpr const char* kSignatario =
    "qxadmin signatario inclui EMPRESA CPF QUALIFICACAO NOME (o contador, 900, com --crc, "
    "--uf-crc, --email e --telefone; um outro com --responsavel)";

std::string Texto(std::string_view latin1) { return "'" + Latin1ParaUtf8(latin1) + "'"; }

}  // namespace

void Conferencia::Abertura(const Campos& c) {
  inicio_ = *LeData(c[2]);
  fim_ = *LeData(c[3]);
  nome_ = std::string(c[4]);
  cnpj_ = std::string(c[5]);
  indNire_ = std::string(c[12]);
  if (inicio_ > fim_ || inicio_.Year() != fim_.Year()) {
    Relata("PERIODO_ARQUIVO", "de " + std::string(c[2]) + " a " + std::string(c[3]),
           "o arquivo cobre um período dentro de um só ano, do início ao fim");
  }
  if (!CnpjValido(c[5])) {
    Relata("CADASTRO_CNPJ", "CNPJ " + Texto(c[5]) + " com dígitos verificadores errados",
           std::string(kCadastro) + " --cnpj CNPJ");
  }
  if (CodigoUf(c[6]) == 0) {
    Relata("CADASTRO_UF", "UF " + Texto(c[6]), std::string(kCadastro) + " --uf UF");
  }
  if (!c[8].empty() && !MunicipioDaUf(c[8], c[6])) {
    Relata("CADASTRO_MUNICIPIO", "município " + Texto(c[8]) + " não é de " + Texto(c[6]),
           std::string(kCadastro) + " --municipio CODIGO_IBGE");
  }
}

void Conferencia::TermoAbertura(const Campos& c) {
  numeroLivro_ = std::string(c[2]);
  naturezaLivro_ = std::string(c[3]);
  linhasDeclaradas_.push_back({LeNumero(c[4]).value_or(0), linha_, registro_});
  fimExercicio_ = *LeData(c[11]);
  if (c[5] != nome_ || c[7] != cnpj_) {
    Relata("CADASTRO_NOME",
           "nome " + Texto(c[5]) + " e CNPJ " + Texto(c[7]) + " diferentes dos do registro 0000",
           "gere o arquivo de novo");
  }
  const bool temNire = indNire_ == "1";
  if (temNire != !c[6].empty() || (temNire && c[8].empty())) {
    Relata(
        "CADASTRO_NIRE",
        "NIRE " + Texto(c[6]) + ", arquivamento " + Texto(c[8]) + ", indicador de NIRE " + indNire_,
        std::string(kCadastro) +
            " --nire NIRE --arquivamento DATA (a empresa registrada na "
            "junta comercial tem os dois)");
  }
}

void Conferencia::TermoEncerramento(const Campos& c) {
  linhasDeclaradas_.push_back({LeNumero(c[5]).value_or(0), linha_, registro_});
  if (c[2] != numeroLivro_ || c[3] != naturezaLivro_ || c[4] != nome_ || LeData(c[6]) != inicio_ ||
      LeData(c[7]) != fim_) {
    Relata("TERMO_ENCERRAMENTO",
           "número, natureza do livro, nome ou datas diferentes dos de I030 e 0000",
           "gere o arquivo de novo");
  }
}

void Conferencia::Assinante(const Campos& c) {
  signatarios_.push_back({linha_, std::string(c[2]), std::string(c[4]), std::string(c[5]),
                          std::string(c[8]), std::string(c[6]), std::string(c[7]),
                          std::string(c[3]), c[11] == "S"});
}

void Conferencia::FimCadastro() {
  for (const Declarado& d : linhasDeclaradas_) {
    if (d.quantidade != linha_) {
      RelataEm(d.linha, d.registro, "CONTAGEM_ARQUIVO",
               std::to_string(d.quantidade) + " linhas declaradas; o arquivo tem " +
                   std::to_string(linha_),
               "gere o arquivo de novo");
    }
  }
  size_t contadores = 0, outros = 0, responsaveis = 0;
  for (size_t i = 0; i < signatarios_.size(); ++i) {
    const Signatario& s = signatarios_[i];
    const bool contador = s.qualificacao == kQualificacaoContador;
    (contador ? contadores : outros) += 1;
    responsaveis += s.responsavel ? 1 : 0;
    const bool documento = s.qualificacao == kQualificacaoPessoaJuridica ? CnpjValido(s.documento)
                                                                         : CpfValido(s.documento);
    if (!documento) {
      RelataEm(s.linha, "J930", "SIGNATARIO_DOCUMENTO",
               "CPF/CNPJ " + Texto(s.documento) + " com dígitos verificadores errados",
               "exclua o signatário (qxadmin signatario exclui) e inclua-o com o documento certo");
    }
    if (QualificacaoAssinante(s.qualificacao).empty() ||
        s.descricao != QualificacaoAssinante(s.qualificacao)) {
      RelataEm(s.linha, "J930", "SIGNATARIO_QUALIFICACAO",
               "qualificação " + Texto(s.qualificacao) + " " + Texto(s.descricao),
               "uma qualificação da tabela do leiaute (qxadmin help signatario inclui)");
    }
    if (contador &&
        (s.crc.empty() || CodigoUf(s.ufCrc) == 0 || s.email.empty() || s.fone.empty())) {
      RelataEm(s.linha, "J930", "SIGNATARIO_CRC", "contador sem CRC, UF do CRC, e-mail ou telefone",
               kSignatario);
    }
    if (contador && s.responsavel) {
      RelataEm(s.linha, "J930", "SIGNATARIO_RESPONSAVEL",
               "o contador (900) indicado como responsável legal",
               "indique como responsável outro signatário (qxadmin signatario inclui "
               "... --responsavel)");
    }
    for (size_t j = 0; j < i; ++j) {
      if (signatarios_[j].documento == s.documento &&
          signatarios_[j].qualificacao == s.qualificacao) {
        RelataEm(s.linha, "J930", "SIGNATARIO_DUPLICADO",
                 Texto(s.documento) + " com a qualificação " + s.qualificacao + " duas vezes", "");
      }
    }
  }
  if (contadores == 0 || outros == 0) {
    RelataEm(0, "J930", "SIGNATARIO_CONTADOR",
             std::to_string(contadores) + " contadores (900) e " + std::to_string(outros) +
                 " outros signatários; a escrituração precisa de um de cada",
             kSignatario);
  }
  if (responsaveis != 1) {
    RelataEm(0, "J930", "SIGNATARIO_RESPONSAVEL",
             std::to_string(responsaveis) + " responsáveis legais; precisa de um só",
             "qxadmin signatario inclui EMPRESA CPF QUALIFICACAO NOME --responsavel");
  }
}

}  // namespace qx::ecd
