// fecha-periodo: closes the entries up to a date to saves, updates, removals
// and checks, or reopens them. The closed period is the accounting master's
// refused range, which the removal of imports honours too; qxcn writes it in
// the company's suite database with who closed it, and the history shows
// every change of it. It opens no session of the entry service.
#include <memory>
#include <optional>

#include "comandos.h"
#include "outside/admin/periodo_fechado.h"
#include "outside/database/company_database.h"
#include "outside/database/timestamp.h"
#include "values/br_text.h"
#include "values/calendar.h"

namespace qxcn {
namespace {

// The company's database; a failure says what it was doing.
std::shared_ptr<qx::SuiteDatabase> Banco(const std::string& empresa) {
  std::shared_ptr<qx::SuiteDatabase> db;
  std::string mensagem;
  if (const HRESULT hr = qx::OpenCompanyDatabase(empresa, &db, &mensagem); FAILED(hr)) {
    throw Falha{hr, "abrir os dados da empresa " + empresa, {}, qx::Cp1252ToUtf8(mensagem)};
  }
  return db;
}

qx::PeriodoFechado Le(qx::SuiteDatabase& db) {
  qx::PeriodoFechado periodo;
  if (const HRESULT hr = qx::LePeriodoFechado(db, &periodo); FAILED(hr)) {
    throw Falha{hr, "ler o período fechado", {}, qx::Cp1252ToUtf8(db.message())};
  }
  return periodo;
}

// The period that --ate and --reabrir ask for, from the one closed now:
// closing never reopens a day, and reopening never closes one.
qx::PeriodoFechado Pedido(const Argumentos& a, const qx::PeriodoFechado& atual) {
  const bool reabrir = a.Marca("reabrir");
  const std::optional<CQXData> ate = a.Data("ate");
  if (reabrir && !ate) return {};
  const uint32_t dia = ate->Value();
  const std::string fechado = qx::Cp1252ToUtf8(qx::DescrevePeriodoFechado(atual));
  if (!reabrir && atual.Fechado() && dia < atual.ate) {
    throw ErroUso{"o período já está fechado " + fechado + ": fechar até " + qx::DateText(*ate) +
                  " reabriria o que vem depois; para isso use --reabrir --ate " +
                  qx::DateText(*ate)};
  }
  if (reabrir && (!atual.Fechado() || dia >= atual.ate || dia < atual.de)) {
    throw ErroUso{(atual.Fechado() ? "o período está fechado " + fechado
                                   : std::string("nenhum período está fechado")) +
                  ": --reabrir --ate reabre os dias depois de uma data dele; --reabrir sozinho "
                  "reabre tudo"};
  }
  qx::PeriodoFechado novo;
  novo.de = atual.Fechado() ? atual.de : qx::kFirstDayNumber;
  novo.ate = dia;
  return novo;
}

void FechaPeriodo(const Argumentos& a, Saida& saida) {
  const qx::Identidade identidade = LeIdentidade(a);
  const std::string empresa = qx::EmpresaNomeada(identidade);
  const std::shared_ptr<qx::SuiteDatabase> db = Banco(empresa);
  qx::PeriodoFechado periodo = Le(*db);
  if (a.Marca("reabrir") || a.Valor("ate")) {
    const qx::PeriodoFechado novo = Pedido(a, periodo);
    if (novo.de != periodo.de || novo.ate != periodo.ate) {
      if (const HRESULT hr = qx::MudaPeriodoFechado(
              *db, novo.de, novo.ate, static_cast<uint16_t>(identidade.usuario), identidade.sessao);
          FAILED(hr)) {
        throw Falha{hr, "gravar o período fechado", {}, qx::Cp1252ToUtf8(db->message())};
      }
      periodo = Le(*db);
    }
  }
  Tabela tabela({"de", "ate", "fechado_por", "fechado_em"});
  if (periodo.Fechado()) {
    tabela.Linha({CQXData(periodo.de), CQXData(periodo.ate),
                  periodo.usuario ? Celula(int64_t{*periodo.usuario}) : Celula(),
                  qx::TimestampParaPessoas(periodo.em)});
  } else {
    tabela.Linha({Celula(), Celula(), Celula(), Celula()});
  }
  saida.Resumo("periodo_fechado", tabela,
               periodo.Fechado()
                   ? "Período fechado " + qx::Cp1252ToUtf8(qx::DescrevePeriodoFechado(periodo)) +
                         ": lançamentos dessas datas não são gravados, alterados, excluídos nem "
                         "conferidos; " +
                         qx::kComoReabrir + "."
                   : "Nenhum período está fechado. Para fechar: qxcn fecha-periodo --ate "
                     "DD/MM/AAAA");
}

}  // namespace

std::vector<Comando> ComandosPeriodo() {
  return {{"fecha-periodo",
           "",
           "fecha os lançamentos até uma data a gravações, alterações, exclusões e conferências "
           "(sem opções, mostra o período fechado)",
           {{"ate", "DD/MM/AAAA", "o último dia fechado"},
            {"reabrir", "",
             "reabre tudo ou, com --ate, os dias depois dessa data (fechar nunca reabre)"}},
           FechaPeriodo}};
}

}  // namespace qxcn
