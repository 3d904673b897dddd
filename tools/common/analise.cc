#include "common/analise.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <limits>
#include <sstream>

#include "common/falhas.h"

namespace qx::cli {
namespace {

struct Lido {
  const Opcao* opcao;
  CLI::Option* cli;
  std::vector<std::string> valores;
};

}  // namespace

Quantos QuantasPalavras(const std::string& argumentos) {
  Quantos quantos;
  std::istringstream leitor(argumentos);
  std::string palavra;
  while (leitor >> palavra) {
    if (palavra.ends_with("...")) quantos.maximo = std::numeric_limits<size_t>::max();
    if (quantos.maximo != std::numeric_limits<size_t>::max()) ++quantos.maximo;
    if (!palavra.starts_with("[")) ++quantos.minimo;
  }
  return quantos;
}

Argumentos Analisa(const Comando& comando, const std::vector<Opcao>& globais,
                   const std::vector<std::string>& palavras, const Textos& textos) {
  CLI::App app;
  app.set_help_flag();
  app.allow_extras();
  std::vector<Lido> lidos;
  lidos.reserve(comando.opcoes.size() + globais.size());
  for (const std::vector<Opcao>* lista : {&comando.opcoes, &globais}) {
    for (const Opcao& opcao : *lista) {
      Lido& lido = lidos.emplace_back(Lido{&opcao, nullptr, {}});
      const std::string nomes =
          "--" + opcao.nome + (opcao.apelido.empty() ? "" : ",--" + opcao.apelido);
      if (opcao.valor.empty()) {
        lido.cli = app.add_flag(nomes);
      } else {
        lido.cli = app.add_option(nomes, lido.valores)
                       ->expected(1)
                       ->allow_extra_args(false)
                       ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
      }
    }
  }
  std::vector<std::string> soltas;
  app.add_option("palavras", soltas);

  std::vector<std::string> invertidas(palavras.rbegin(), palavras.rend());
  try {
    app.parse(invertidas);
  } catch (const CLI::ArgumentMismatch& erro) {
    const std::string texto = erro.what();
    throw ErroUso{Formata(textos.faltaValor, {texto.substr(0, texto.find(':'))})};
  } catch (const CLI::ParseError& erro) {
    throw ErroUso{erro.what()};
  }
  for (const std::string& resto : app.remaining()) {
    if (resto == "--") continue;
    throw ErroUso{Formata(resto.starts_with("-") ? textos.opcaoDesconhecida : textos.argumentoAMais,
                          {resto})};
  }
  const Quantos quantos = QuantasPalavras(comando.argumentos);
  if (soltas.size() > quantos.maximo) {
    throw ErroUso{Formata(textos.argumentoAMais, {soltas[quantos.maximo]})};
  }
  if (soltas.size() < quantos.minimo) {
    std::istringstream leitor(comando.argumentos);
    std::string falta;
    for (size_t i = 0; i <= soltas.size(); ++i) leitor >> falta;
    throw ErroUso{Formata(textos.faltaArgumento, {falta})};
  }

  std::multimap<std::string, std::string> valores;
  std::set<std::string> marcas;
  for (const Lido& lido : lidos) {
    if (lido.opcao->valor.empty()) {
      if (lido.cli->count() > 0 && lido.cli->as<bool>()) marcas.insert(lido.opcao->nome);
    } else {
      for (const std::string& valor : lido.valores) valores.emplace(lido.opcao->nome, valor);
    }
  }
  return Argumentos(textos, std::move(valores), std::move(marcas), std::move(soltas));
}

}  // namespace qx::cli
