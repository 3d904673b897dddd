#include "cli.h"

#include "outside/admin/suite_setup.h"
#include "platform/codepage.h"
#include "platform/environment.h"

namespace qxadmin {

std::function<void(const Argumentos&, Saida&)> ComContexto(Funcao f) {
  return [f](const Argumentos& argumentos, Saida& saida) {
    Contexto contexto{qx::Registry::Default(), !qx::GetEnvironmentText("QX_REGISTRY").empty()};
    if (const auto file = argumentos.Valor("registry")) {
      contexto.registry = qx::Registry(*file, "");
      contexto.registryGiven = true;
    }
    f(argumentos, contexto, saida);
  };
}

int64_t Number(const Argumentos& args, const std::string& text, int64_t min, int64_t max,
               const std::string& what) {
  return args.LeInteiro(text, what, min, max);
}

std::string Word(const Argumentos& args, size_t index) {
  return qx::Utf8ToCp1252(args.Posicionais().at(index));
}

void Check(HRESULT hr, const std::string& what, const std::string& message) {
  if (FAILED(hr)) {
    throw qx::cli::Falha{.hr = hr, .contexto = what, .detalhe = qx::Cp1252ToUtf8(message)};
  }
}

std::shared_ptr<qx::SuiteDatabase> Contexto::Company(const std::string& code) const {
  std::shared_ptr<qx::SuiteDatabase> db;
  std::string message;
  Check(qx::OpenRegisteredCompany(registry, code, &db, &message),
        "abrir a empresa " + qx::Cp1252ToUtf8(code), message);
  return db;
}

}  // namespace qxadmin
