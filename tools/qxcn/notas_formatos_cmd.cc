// notas and formatos: explanatory notes and import layouts.
#include <cstring>
#include <vector>

#include "comandos.h"
#include "diagnostics/profiler_identity.h"
#include "platform/bstr.h"
#include "platform/codepage.h"

namespace qxcn {
namespace {

// --- notas ------------------------------------------------------------------

void Notas(const Argumentos& a, Servico& servico, Saida& saida) {
  const std::vector<std::string>& acao = a.Posicionais();
  if (acao.size() != 1) throw ErroUso{"diga o que fazer: existe, le ou grava"};
  const auto mes = static_cast<uint16_t>(a.MesAnoObrigatorio("mes").Value());
  const auto chave = static_cast<int32_t>(a.InteiroObrigatorio("chave", INT32_MIN, INT32_MAX));
  int32_t posicao = 0;
  Verifica(servico->ExisteNotaExplicativa(mes, chave, &posicao), "ExisteNotaExplicativa");
  std::string texto;
  if (acao[0] == "grava") {
    const std::optional<std::string> novo = a.Valor("texto");
    if (!novo) throw ErroUso{"falta --texto (vazio apaga a nota)"};
    const qx::UniqueBstr bstr(qx::BstrFromCp1252(qx::Utf8ToCp1252(*novo)));
    Verifica(servico->GravaNotaExplicativa(mes, chave, posicao, bstr.get()),
             "GravaNotaExplicativa");
    Verifica(servico->ExisteNotaExplicativa(mes, chave, &posicao), "ExisteNotaExplicativa");
  } else if (acao[0] != "existe" && acao[0] != "le") {
    throw ErroUso{"ação desconhecida: " + acao[0]};
  }
  if (posicao > 0 && acao[0] != "existe") {
    BSTR lido = nullptr;
    Verifica(servico->LeNotaExplicativa(posicao, &lido), "LeNotaExplicativa");
    const qx::UniqueBstr dono(lido);
    texto = qx::BstrToCp1252(lido);
  }
  Tabela tabela({"chave", "posicao", "texto"});
  tabela.Linha({int64_t{chave}, int64_t{posicao}, Texto{texto}});
  saida.Mostra("nota", "", tabela);
  if (posicao == 0) saida.Aviso("Sem nota explicativa.");
}

// --- formatos ---------------------------------------------------------------

void MostraFormatos(Saida& saida, const std::vector<REGFORMATOIMPORT>& formatos, int primeiro) {
  Tabela tabela({"pos", "nome", "contabil", "gerencial", "delimitador"});
  for (size_t i = 0; i < formatos.size(); ++i) {
    const REGFORMATOIMPORT& f = formatos[i];
    tabela.Linha({int64_t(primeiro + static_cast<int>(i)),
                  Texto{qx::FieldText(f.cNomeFormatoImportacao)},
                  Texto{qx::FieldText(f.cSequenciaContabil)},
                  Texto{qx::FieldText(f.cSequenciaGerencial)},
                  Texto{std::string(1, f.cDelimitador)}});
  }
  saida.Mostra("formatos", "", tabela);
}

uint16_t Posicao(Servico& servico, const std::string& nome) {
  const qx::UniqueBstr bstr(qx::BstrFromCp1252(qx::Utf8ToCp1252(nome)));
  uint16_t posicao = 0;
  Verifica(servico->ExisteFormatoImportacao(bstr.get(), &posicao), "ExisteFormatoImportacao");
  return posicao;
}

void CopiaCampo(const std::string& texto, char* campo, size_t tamanho, const char* nome) {
  const std::string bytes = qx::Utf8ToCp1252(texto);
  if (bytes.size() > tamanho) {
    throw ErroUso{std::string(nome) + ": no máximo " + std::to_string(tamanho) + " caracteres"};
  }
  std::memset(campo, 0, tamanho);
  std::memcpy(campo, bytes.data(), bytes.size());
}

void Formatos(const Argumentos& a, Servico& servico, Saida& saida) {
  const std::vector<std::string>& p = a.Posicionais();
  const std::string acao = p.empty() ? "lista" : p[0];
  if (acao == "lista") {
    uint16_t quantidade = 0;
    Verifica(servico->GetQuantidadeFormatosImportacao(&quantidade), "GetQuantidadeFormatosImportacao");
    std::vector<REGFORMATOIMPORT> formatos(quantidade);
    if (quantidade > 0) {
      Verifica(servico->GetFormatosImportacao(quantidade, formatos.data()), "GetFormatosImportacao");
    }
    MostraFormatos(saida, formatos, 1);
    return;
  }
  if (p.size() != 2) throw ErroUso{"formatos " + acao + " NOME"};
  const uint16_t posicao = Posicao(servico, p[1]);
  if (acao == "mostra" || acao == "exclui") {
    if (posicao == 0) throw FalhaLocal{"formato não encontrado: " + p[1]};
    REGFORMATOIMPORT formato{};
    Verifica(servico->LeFormatoImportacao(posicao, &formato), "LeFormatoImportacao");
    if (acao == "exclui") {
      const qx::UniqueBstr bstr(qx::BstrFromCp1252(qx::Utf8ToCp1252(p[1])));
      Verifica(servico->ExcluiFormatoImportacao(bstr.get()), "ExcluiFormatoImportacao");
      saida.Aviso("Formato excluído:");
    }
    MostraFormatos(saida, {formato}, posicao);
  } else if (acao == "grava") {
    REGFORMATOIMPORT formato{};
    CopiaCampo(p[1], formato.cNomeFormatoImportacao, sizeof formato.cNomeFormatoImportacao, "NOME");
    CopiaCampo(a.Valor("contabil").value_or(""), formato.cSequenciaContabil,
               sizeof formato.cSequenciaContabil, "--contabil");
    CopiaCampo(a.Valor("gerencial").value_or(""), formato.cSequenciaGerencial,
               sizeof formato.cSequenciaGerencial, "--gerencial");
    const std::string delimitador = a.Valor("delimitador").value_or(",");
    if (delimitador.size() != 1) throw ErroUso{"--delimitador: um caractere de , : ; |"};
    formato.cDelimitador = delimitador[0];
    uint16_t consistencia = 0;
    const HRESULT hr = servico->GravaFormatoImportacao(posicao, formato, &consistencia);
    if (hr != S_OK) {
      static const char* const kMotivos[] = {"", "o nome está vazio", "falta a sequência contábil",
                                             "falta a sequência gerencial",
                                             "o delimitador não é , : ; ou |"};
      Verifica(hr, "GravaFormatoImportacao");
      throw FalhaLocal{std::string("formato recusado: ") +
                       (consistencia < 5 ? kMotivos[consistencia] : "inconsistente")};
    }
    MostraFormatos(saida, {formato}, posicao == 0 ? Posicao(servico, p[1]) : posicao);
  } else {
    throw ErroUso{"ação desconhecida: " + acao};
  }
}

}  // namespace

std::vector<Comando> ComandosNotasFormatos() {
  return {
      {"notas",
       "notas existe|le --mes MM/AAAA --chave N\n"
       "      notas grava --mes MM/AAAA --chave N --texto TEXTO",
       "procura, lê ou grava a nota explicativa de um item", {"mes", "chave", "texto"}, {}, Notas},
      {"formatos",
       "formatos [lista]\n"
       "      formatos mostra|exclui NOME\n"
       "      formatos grava NOME --contabil LETRAS --gerencial LETRAS [--delimitador ,]",
       "os formatos de importação da empresa", {"contabil", "gerencial", "delimitador"}, {},
       Formatos},
  };
}

}  // namespace qxcn
