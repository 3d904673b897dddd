#include "reports/ecd/conferencia.h"

#include <algorithm>
#include <map>
#include <string>

#include "reports/ecd/formato.h"
#include "reports/ecd/leiaute.h"
#include "values/registro_pj.h"

namespace qx::ecd {
namespace {

// Past this many problems of one rule, the others are only counted.
constexpr uint64_t kPorRegra = 20;

// The registers a file of book type G must have, and those it has once.
constexpr std::string_view kObrigatorios[] = {"0000", "0001", "0990", "I001", "I010", "I030",
                                              "I050", "I150", "I155", "I990", "J001", "J900",
                                              "J930", "J990", "9001", "9900", "9990", "9999"};
constexpr std::string_view kUnicos[] = {"0000", "0001", "0990", "I001", "I010", "I030", "I990",
                                        "J001", "J900", "J990", "9001", "9990", "9999"};
constexpr std::string_view kFechamentos[] = {"0990", "C990", "I990", "J990", "K990"};

std::string Aspas(std::string_view texto) { return "'" + Latin1ParaUtf8(texto) + "'"; }

bool CampoNaForma(const CampoLeiaute& campo, std::string_view valor) {
  switch (campo.tipo) {
    case TipoCampo::kNumero:
      return SoDigitos(valor) && (campo.tamanho == 0 || valor.size() == campo.tamanho);
    case TipoCampo::kData:
      return LeData(valor).has_value();
    case TipoCampo::kValor:
      return LeValor(valor).has_value();
    case TipoCampo::kOpcao: {
      std::string_view opcoes = campo.opcoes;
      while (!opcoes.empty()) {
        const size_t barra = std::min(opcoes.find('/'), opcoes.size());
        if (opcoes.substr(0, barra) == valor) return true;
        opcoes.remove_prefix(std::min(barra + 1, opcoes.size()));
      }
      return false;
    }
    case TipoCampo::kTexto:
      break;
  }
  return campo.tamanho == 0 ? valor.size() <= 255 : valor.size() == campo.tamanho;
}

std::string Esperado(const CampoLeiaute& campo) {
  const std::string tamanho = std::to_string(campo.tamanho);
  switch (campo.tipo) {
    case TipoCampo::kNumero:
      return campo.tamanho == 0 ? "só dígitos" : tamanho + " dígitos";
    case TipoCampo::kData:
      return "uma data ddmmaaaa que exista";
    case TipoCampo::kValor:
      return "um valor sem sinal nem separador de milhar, com vírgula e até 2 decimais "
             "(arredonde nos livros o valor que tiver mais)";
    case TipoCampo::kOpcao:
      return "um de " + std::string(campo.opcoes);
    case TipoCampo::kTexto:
      break;
  }
  return campo.tamanho == 0 ? "até 255 caracteres" : tamanho + " caracteres";
}

}  // namespace

std::string TextoProblema(const Problema& p) {
  std::string texto = p.linha == 0 ? std::string("arquivo") : "linha " + std::to_string(p.linha);
  if (!p.registro.empty()) texto += " (" + p.registro + ")";
  texto += " " + p.regra + ": " + p.encontrado;
  if (!p.correcao.empty()) texto += ". Corrija: " + p.correcao;
  return texto;
}

uint64_t ConfereEcd(std::istream& arquivo, const std::function<void(const Problema&)>& relata) {
  Conferencia conferencia(relata);
  std::string linha;
  while (std::getline(arquivo, linha)) {
    const bool crlf = !linha.empty() && linha.back() == '\r';
    if (crlf) linha.pop_back();
    conferencia.Linha(linha, crlf);
  }
  conferencia.Fim();
  return conferencia.problemas();
}

void Conferencia::Relata(std::string regra, std::string encontrado, std::string correcao) {
  RelataEm(linha_, registro_, std::move(regra), std::move(encontrado), std::move(correcao));
}

void Conferencia::RelataEm(uint64_t linha, std::string registro, std::string regra,
                           std::string encontrado, std::string correcao) {
  Problema p{linha, std::move(registro), std::move(regra), std::move(encontrado),
             std::move(correcao)};
  ++problemas_;
  if (noFim_) {
    doFim_.push_back(std::move(p));
  } else if (++porRegra_[p.regra] <= kPorRegra) {
    relata_(p);
  }
}

std::string Conferencia::Chave(std::string_view conta, std::string_view centro) {
  std::string chave(conta);
  chave += '\x1F';
  chave += centro;
  return chave;
}

void Conferencia::Linha(std::string_view texto, bool crlf) {
  ++linha_;
  if (!crlf) Relata("FORMA_CRLF", "a linha não termina em CR LF", "");
  Campos campos;
  if (texto.size() < 2 || texto.front() != '|' || texto.back() != '|') {
    registro_.clear();
    Relata("FORMA_LINHA", "a linha não começa e termina com |: " + Aspas(texto.substr(0, 40)), "");
    return;
  }
  texto = texto.substr(1, texto.size() - 2);
  for (size_t inicio = 0;;) {
    const size_t barra = texto.find('|', inicio);
    campos.push_back(texto.substr(inicio, barra - inicio));
    if (barra == std::string_view::npos) break;
    inicio = barra + 1;
  }
  registro_ = std::string(campos[0]);
  const int posicao = Posicao(campos[0]);
  if (posicao < 0) {
    Relata("FORMA_REGISTRO", "registro desconhecido " + Aspas(campos[0]), "");
    return;
  }
  ++contagem_[registro_];
  ConfereOrdem(campos[0], posicao);
  ConfereContagens(campos);
  if (lancamentoAberto_ && registro_ != "I250") FechaLancamento();
  if (periodoAberto_ && registro_ != "I155") FechaPeriodo();
  static const int kFimDoPlano = Posicao("I053");
  if (!planoConferido_ && posicao > kFimDoPlano) FimPlano();
  if (!ConfereForma(campos)) return;

  using Regra = void (Conferencia::*)(const Campos&);
  static const std::unordered_map<std::string_view, Regra> regras = {
      {"0000", &Conferencia::Abertura},       {"I030", &Conferencia::TermoAbertura},
      {"I050", &Conferencia::ContaPlano},     {"I052", &Conferencia::AglutinacaoConta},
      {"I150", &Conferencia::PeriodoSaldos},  {"I155", &Conferencia::SaldoPeriodico},
      {"I200", &Conferencia::Lancamento},     {"I250", &Conferencia::PartidaLancamento},
      {"I350", &Conferencia::DataApuracao},   {"I355", &Conferencia::SaldoAntesEncerramento},
      {"J005", &Conferencia::Demonstracoes},  {"J100", &Conferencia::LinhaBalanco},
      {"J150", &Conferencia::LinhaResultado}, {"J900", &Conferencia::TermoEncerramento},
      {"J930", &Conferencia::Assinante},
  };
  if (registro_ == "I075") historicos_.emplace(campos[1]);
  if (registro_ == "I100") centros_.emplace(campos[2]);
  const auto regra = regras.find(campos[0]);
  if (regra != regras.end()) (this->*regra->second)(campos);
}

bool Conferencia::ConfereForma(const Campos& campos) {
  const RegistroLeiaute& leiaute = Leiaute()[static_cast<size_t>(Posicao(campos[0]))];
  if (leiaute.campos.empty()) return false;  // known by place only
  if (campos.size() != leiaute.campos.size() + 1) {
    Relata("FORMA_CAMPOS",
           std::to_string(campos.size()) + " campos; o registro tem " +
               std::to_string(leiaute.campos.size() + 1),
           "");
    return false;
  }
  bool certo = true;
  for (size_t i = 0; i < leiaute.campos.size(); ++i) {
    const CampoLeiaute& campo = leiaute.campos[i];
    const std::string_view valor = campos[i + 1];
    if (valor.empty()) {
      if (campo.obrigatorio) {
        Relata("FORMA_OBRIGATORIO", std::string(campo.nome) + " vazio",
               "preencha-o nos livros ou no cadastro (qxadmin cadastro mostra)");
        certo = false;
      }
    } else if (!CampoNaForma(campo, valor)) {
      Relata("FORMA_CAMPO", std::string(campo.nome) + " " + Aspas(valor) + ": " + Esperado(campo),
             "");
      certo = false;
    }
  }
  return certo;
}

void Conferencia::ConfereOrdem(std::string_view registro, int posicao) {
  const auto& leiaute = Leiaute();
  const RegistroLeiaute& este = leiaute[static_cast<size_t>(posicao)];
  if (linhaFinal_ != 0) {
    Relata("ORDEM_REGISTROS", "linha depois do 9999", "");
  } else if (linha_ == 1 && registro != "0000") {
    Relata("ORDEM_REGISTROS", "o arquivo começa por " + Aspas(registro) + ", não por 0000", "");
  } else if (posicao_ >= 0 && posicao < posicao_ &&
             std::any_of(leiaute.begin() + posicao + 1, leiaute.begin() + posicao_ + 1,
                         [&](const RegistroLeiaute& r) { return r.nivel <= este.nivel; })) {
    Relata(
        "ORDEM_REGISTROS",
        Aspas(registro) + " depois de " + std::string(leiaute[static_cast<size_t>(posicao_)].nome),
        "");
  } else if (este.nivel > 0) {
    int pai = posicao - 1;
    while (pai >= 0 && leiaute[static_cast<size_t>(pai)].nivel != este.nivel - 1) --pai;
    const std::string_view nomePai = pai >= 0 ? leiaute[static_cast<size_t>(pai)].nome : "0000";
    if (ultimoNoNivel_[static_cast<size_t>(este.nivel - 1)] != nomePai) {
      Relata("ORDEM_REGISTROS", Aspas(registro) + " sem o registro pai " + std::string(nomePai),
             "");
    }
  }
  posicao_ = posicao;
  ultimoNoNivel_[static_cast<size_t>(este.nivel)] = std::string(registro);
  for (size_t n = static_cast<size_t>(este.nivel) + 1; n < ultimoNoNivel_.size(); ++n) {
    ultimoNoNivel_[n].clear();
  }
}

void Conferencia::ConfereContagens(const Campos& campos) {
  if (registro_[0] != bloco_) {
    bloco_ = registro_[0];
    linhasBloco_ = 0;
  }
  ++linhasBloco_;
  const auto quantidade = [&](size_t i) {
    return campos.size() > i ? LeNumero(campos[i]).value_or(0) : 0;
  };
  if (std::find(std::begin(kFechamentos), std::end(kFechamentos), registro_) !=
      std::end(kFechamentos)) {
    if (quantidade(1) != linhasBloco_) {
      Relata("CONTAGEM_BLOCO",
             std::string(campos.size() > 1 ? campos[1] : "") + " linhas declaradas; o bloco tem " +
                 std::to_string(linhasBloco_),
             "gere o arquivo de novo (as contagens vêm do próprio arquivo)");
    }
  } else if (registro_ == "9900" && campos.size() > 2) {
    const auto [it, novo] =
        declarados9900_.emplace(std::string(campos[1]), std::pair{quantidade(2), linha_});
    if (!novo) Relata("CONTAGEM_9900", Aspas(campos[1]) + " totalizado duas vezes", "");
  } else if (registro_ == "9990") {
    qtd9990_ = quantidade(1);
    linha9990_ = linha_;
  } else if (registro_ == "9999") {
    linhaFinal_ = linha_;
    linhasBloco9_ = linhasBloco_;
    if (quantidade(1) != linha_) {
      Relata("CONTAGEM_ARQUIVO",
             std::string(campos.size() > 1 ? campos[1] : "") +
                 " linhas declaradas; o arquivo tem " + std::to_string(linha_),
             "");
    }
  }
}

void Conferencia::FimForma() {
  for (const std::string_view registro : kObrigatorios) {
    if (contagem_.count(std::string(registro)) == 0) {
      RelataEm(0, std::string(registro), "FORMA_OBRIGATORIO", "o registro falta no arquivo",
               registro == "J930" ? "inclua os signatários: qxadmin signatario inclui" : "");
    }
  }
  for (const std::string_view registro : kUnicos) {
    const auto it = contagem_.find(std::string(registro));
    if (it != contagem_.end() && it->second > 1) {
      RelataEm(0, std::string(registro), "FORMA_UNICO",
               std::to_string(it->second) + " registros; o arquivo tem um só", "");
    }
  }
  if (linha9990_ != 0 && qtd9990_ != linhasBloco9_) {
    RelataEm(linha9990_, "9990", "CONTAGEM_BLOCO",
             std::to_string(qtd9990_) + " linhas declaradas; o bloco 9 tem " +
                 std::to_string(linhasBloco9_),
             "");
  }
  for (const auto& [registro, quantidade] : contagem_) {
    const auto it = declarados9900_.find(registro);
    if (it == declarados9900_.end()) {
      RelataEm(0, registro, "CONTAGEM_9900", "o registro não está totalizado em 9900", "");
    } else if (it->second.first != quantidade) {
      RelataEm(it->second.second, "9900", "CONTAGEM_9900",
               registro + ": " + std::to_string(it->second.first) + " declarados, " +
                   std::to_string(quantidade) + " no arquivo",
               "");
    }
  }
  for (const auto& [registro, declarado] : declarados9900_) {
    if (contagem_.count(registro) == 0) {
      RelataEm(declarado.second, "9900", "CONTAGEM_9900",
               registro + " totalizado, mas não está no arquivo", "");
    }
  }
}

void Conferencia::Fim() {
  if (lancamentoAberto_) FechaLancamento();
  if (periodoAberto_) FechaPeriodo();
  if (!planoConferido_) FimPlano();
  noFim_ = true;
  FimForma();
  FimCadastro();
  FimSaldos();
  FimEncerramento();
  FimDemonstracoes();
  std::stable_sort(doFim_.begin(), doFim_.end(),
                   [](const Problema& a, const Problema& b) { return a.linha < b.linha; });
  for (const Problema& p : doFim_) {
    if (++porRegra_[p.regra] <= kPorRegra) relata_(p);
  }
  for (const auto& [regra, quantos] :
       std::map<std::string, uint64_t>(porRegra_.begin(), porRegra_.end())) {
    if (quantos > kPorRegra) {
      relata_(
          {0, "", regra,
           "mais " + std::to_string(quantos - kPorRegra) + " problemas desta regra, não mostrados",
           ""});
    }
  }
}

int Conferencia::PeriodoDe(CQXData data) const {
  for (size_t i = 0; i < periodos_.size(); ++i) {
    if (periodos_[i].inicio <= data && data <= periodos_[i].fim) return static_cast<int>(i);
  }
  return -1;
}

const Conferencia::Conta* Conferencia::AchaConta(std::string_view codigo) const {
  const auto it = indiceContas_.find(std::string(codigo));
  return it == indiceContas_.end() ? nullptr : &contas_[it->second];
}

}  // namespace qx::ecd
