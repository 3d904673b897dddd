#include "common/filtro_busca.h"

#include "common/falhas.h"

#include "platform/bstr.h"
#include "platform/codepage.h"

namespace qx::cli {
namespace {

struct FlagOrigem {
  const char* nome;
  int32_t REG_FILTRO_LAN::*campo;
};

constexpr FlagOrigem kFlags[] = {
    {"lote", &REG_FILTRO_LAN::bLote},
    {"importacao", &REG_FILTRO_LAN::bImportacao},
    {"financeiro", &REG_FILTRO_LAN::bFinanceiro},
    {"estoque", &REG_FILTRO_LAN::bEstoque},
    {"escrita-fiscal", &REG_FILTRO_LAN::bEscritaFiscal},
    {"patrimonial", &REG_FILTRO_LAN::bPatrimonial},
    {"comercial", &REG_FILTRO_LAN::bComercial},
    {"compras-re", &REG_FILTRO_LAN::bCompras_RE},
    {"compras-ct", &REG_FILTRO_LAN::bCompras_CT},
    {"contabilidade", &REG_FILTRO_LAN::bContabilidade},
    {"folha", &REG_FILTRO_LAN::bFolha},
    {"nfce", &REG_FILTRO_LAN::bNFCe},
    {"fn-cp-lan", &REG_FILTRO_LAN::bFNCPLan},
    {"fn-cp-baixa", &REG_FILTRO_LAN::bFNCPBaixa},
    {"fn-cr-lan", &REG_FILTRO_LAN::bFNCRLan},
    {"fn-cr-baixa", &REG_FILTRO_LAN::bFNCRBaixa},
    {"fn-tesouraria", &REG_FILTRO_LAN::bFNTesouraria},
    {"fn-cambial", &REG_FILTRO_LAN::bFNCambial},
    {"ecf", &REG_FILTRO_LAN::bECF},
    {"conciliacao", &REG_FILTRO_LAN::bConciliacao},
    {"gerador", &REG_FILTRO_LAN::bGeradorLancamento},
    {"gerenciador", &REG_FILTRO_LAN::bGerenciador},
    {"custos", &REG_FILTRO_LAN::bCustos},
    {"comercial-pedido", &REG_FILTRO_LAN::bComercialPedido},
    {"irpj-lalur", &REG_FILTRO_LAN::bIrpjLalur},
};

void Origem(const std::string& lista, REG_FILTRO_LAN* filtro) {
  size_t inicio = 0;
  while (inicio <= lista.size()) {
    const size_t fim = std::min(lista.find(',', inicio), lista.size());
    const std::string nome = lista.substr(inicio, fim - inicio);
    bool achou = false;
    for (const FlagOrigem& flag : kFlags) {
      if (nome == flag.nome) {
        filtro->*flag.campo = 1;
        achou = true;
      }
    }
    if (!achou)
      throw ErroUso{"--origem: origem desconhecida: " + nome + " (" + NomesOrigem() + ")"};
    inicio = fim + 1;
  }
}

// A batch is an origin key number of a batch (module 22) or of an import
// (module 21): both origins, and the key's number the batch's. --origem may
// narrow them to one.
void Lote(int32_t lote, REG_FILTRO_LAN* filtro) {
  if (filtro->lChaveOrigem != 0 && filtro->lChaveOrigem != lote) {
    throw ErroUso{"--lote " + std::to_string(lote) + " e --chave-origem " +
                  std::to_string(filtro->lChaveOrigem) + " pedem chaves diferentes"};
  }
  REG_FILTRO_LAN sobra = *filtro;
  sobra.bLote = sobra.bImportacao = 0;
  for (const FlagOrigem& flag : kFlags) {
    if (sobra.*flag.campo != 0) {
      throw ErroUso{std::string("--lote: um lote é de lote ou de importação, não de ") +
                    flag.nome + " (--origem lote,importacao ou nada)"};
    }
  }
  if (filtro->bLote == 0 && filtro->bImportacao == 0) filtro->bLote = filtro->bImportacao = 1;
  filtro->lNumeroLote = filtro->lChaveOrigem = lote;
}

// The origin selection, or false when no option of it was given.
bool FiltroOrigem(const Argumentos& a, REG_FILTRO_LAN* filtro) {
  bool algum = false;
  if (const auto lista = a.Valor("origem")) {
    Origem(*lista, filtro);
    algum = true;
  }
  if (const auto chave = a.Inteiro("chave-origem", 1, 0xFFFFFF)) {
    filtro->lChaveOrigem = static_cast<int32_t>(*chave);
    algum = true;
  }
  if (const auto lote = a.Inteiro("lote", 1, 0xFFFFFF)) {
    Lote(static_cast<int32_t>(*lote), filtro);
    algum = true;
  }
  if (const auto mes = a.MesAno("mes-origem")) {
    filtro->iMesOrigem = static_cast<uint16_t>(mes->Value());
    algum = true;
  }
  if (const auto filial = a.Inteiro("filial", 1, UINT16_MAX)) {
    filtro->iFilial = static_cast<uint16_t>(*filial);
    algum = true;
  }
  const struct {
    const char* marca;
    int32_t REG_FILTRO_LAN::*campo;
  } marcas[] = {{"conferidos", &REG_FILTRO_LAN::bConferidos},
                {"nao-conferidos", &REG_FILTRO_LAN::bNaoConferidos},
                {"ifrs", &REG_FILTRO_LAN::bIFRS}};
  for (const auto& marca : marcas) {
    if (a.Marca(marca.marca)) {
      filtro->*marca.campo = 1;
      algum = true;
    }
  }
  return algum;
}

}  // namespace

std::vector<Opcao> OpcoesFiltro() {
  std::string origens;
  for (const FlagOrigem& flag : kFlags)
    origens += (origens.empty() ? "" : " ") + std::string(flag.nome);
  return {
      {"documento-de", "N", "do documento"},
      {"documento-ate", "N", "até o documento"},
      {"pos-de", "N", "da posição no mês"},
      {"pos-ate", "N", "até a posição no mês"},
      {"mes-de", "MM/AAAA", "do mês"},
      {"mes-ate", "MM/AAAA", "até o mês"},
      {"data-de", "DD/MM/AAAA", "da data"},
      {"data-ate", "DD/MM/AAAA", "até a data"},
      {"valor-de", "VALOR", "do valor"},
      {"valor-ate", "VALOR", "até o valor"},
      {"conta", "CONTA", "com a conta a débito ou a crédito"},
      {"historico", "N", "com o histórico padrão"},
      {"do-usuario", "N", "gravados pelo usuário"},
      {"da-sessao", "N", "gravados na sessão"},
      {"contem", "TEXTO", "com o texto no complemento (sem diferença de caixa e acentos)"},
      {"conta-gerencial", "CONTA", "com a conta gerencial no rateio"},
      {"origem", "LISTA", "das origens, separadas por vírgula: " + NomesOrigem(), false, origens},
      {"lote", "N", "do lote ou da importação de número N"},
      {"chave-origem", "N", "com a chave de origem"},
      {"mes-origem", "MM/AAAA", "com o mês de origem"},
      {"filial", "N", "da filial"},
      {"conferidos", "", "só os conferidos"},
      {"nao-conferidos", "", "só os não conferidos"},
      {"ifrs", "", "só os lançamentos IFRS"}};
}

std::string NomesOrigem() {
  std::string nomes;
  for (const FlagOrigem& flag : kFlags)
    nomes += (nomes.empty() ? "" : ",") + std::string(flag.nome);
  return nomes;
}

void AplicaFiltro(const Argumentos& a, SessaoLancamento& s) {
  Verifica(s->LimpaFiltro(), "LimpaFiltro");
  if (const auto v = a.Inteiro("documento-de", INT32_MIN, INT32_MAX))
    Verifica(s->SetDocumentoInicial(*v), "SetDocumentoInicial");
  if (const auto v = a.Inteiro("documento-ate", INT32_MIN, INT32_MAX))
    Verifica(s->SetDocumentoFinal(*v), "SetDocumentoFinal");
  if (const auto v = a.Inteiro("pos-de", 1, 0xFFFFFF))
    Verifica(s->SetChaveInicial(*v), "SetChaveInicial");
  if (const auto v = a.Inteiro("pos-ate", 1, 0xFFFFFF))
    Verifica(s->SetChaveFinal(*v), "SetChaveFinal");
  if (const auto v = a.MesAno("mes-de"))
    Verifica(s->SetMesInicial(static_cast<uint16_t>(v->Value())), "SetMesInicial");
  if (const auto v = a.MesAno("mes-ate"))
    Verifica(s->SetMesFinal(static_cast<uint16_t>(v->Value())), "SetMesFinal");
  if (const auto v = a.Data("data-de")) Verifica(s->SetDataInicial(v->Value()), "SetDataInicial");
  if (const auto v = a.Data("data-ate")) Verifica(s->SetDataFinal(v->Value()), "SetDataFinal");
  if (const auto v = a.Montante("valor-de")) Verifica(s->SetValorInicial(*v), "SetValorInicial");
  if (const auto v = a.Montante("valor-ate")) Verifica(s->SetValorFinal(*v), "SetValorFinal");
  if (const auto v = a.Inteiro("conta", 1, INT32_MAX))
    Verifica(s->SetConta(static_cast<int32_t>(*v)), "SetConta");
  if (const auto v = a.Inteiro("historico", 1, UINT16_MAX)) {
    Verifica(s->SetHistoricoFiltro(static_cast<uint16_t>(*v)), "SetHistoricoFiltro");
  }
  if (const auto v = a.Inteiro("do-usuario", 1, UINT16_MAX)) {
    Verifica(s->SetUsuarioFiltro(static_cast<uint16_t>(*v)), "SetUsuarioFiltro");
  }
  if (const auto v = a.Inteiro("da-sessao", 1, INT32_MAX))
    Verifica(s->SetSessao(static_cast<int32_t>(*v)), "SetSessao");
  if (const auto v = a.Inteiro("conta-gerencial", 1, INT32_MAX)) {
    Verifica(s->SetContaGerencial(static_cast<int32_t>(*v)), "SetContaGerencial");
  }
  if (const auto texto = a.Valor("contem")) {
    const UniqueBstr complemento(BstrFromCp1252(Utf8ToCp1252(*texto)));
    Verifica(s->SetComplementoFiltro(complemento.get()), "SetComplementoFiltro");
  }
  REG_FILTRO_LAN origem{};
  if (FiltroOrigem(a, &origem)) Verifica(s->SetFiltroOrigem(origem), "SetFiltroOrigem");
}

}  // namespace qx::cli
