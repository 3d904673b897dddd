#include "servidor.h"

#include <httplib.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <memory>
#include <thread>

#include "common/falhas.h"
#include "common/json_celula.h"
#include "common/textos.h"
#include "contract/entry_messages.h"
#include "frente.h"
#include "html.h"
#include "outside/database/outside_codes.h"
#include "paginas.h"
#include "platform/stop_request.h"
#include "seguranca.h"
#include "storage/arq_status.h"

namespace qxweb {
namespace {

constexpr char kHtml[] = "text/html; charset=utf-8";

enum class Formato { kHtml, kJson, kCsv, kPlanilha };

struct Resposta {
  int status = 200;
  std::string corpo = {};
  std::string tipo = kHtml;
  std::string arquivo = {};  // a download's name
};

const qx::cli::Textos& Textos() { return qx::cli::TextosDe(); }

// The query parameters that are no page's own.
bool DoFormato(const std::string& nome) { return nome == "formato" || nome == "tabela"; }

// The page's parameters read as qxcn reads options: an unknown one is a
// usage error; a flag is on whatever its value; empty values are left out.
Argumentos LeArgumentos(const Rota& rota, const Parametros& parametros) {
  std::multimap<std::string, std::string> valores;
  std::set<std::string> marcas;
  for (const auto& [nome, valor] : parametros) {
    if (DoFormato(nome)) continue;
    const auto opcao = std::find_if(rota.opcoes.begin(), rota.opcoes.end(),
                                    [&nome = nome](const Opcao& o) { return o.nome == nome; });
    if (opcao == rota.opcoes.end()) {
      throw qx::cli::ErroUso{"parâmetro desconhecido: " + nome};
    }
    if (opcao->valor.empty()) {
      marcas.insert(nome);
    } else {
      valores.emplace(nome, valor);
    }
  }
  return Argumentos(Textos(), std::move(valores), std::move(marcas), {});
}

Formato LeFormato(const Parametros& parametros) {
  for (const auto& [nome, valor] : parametros) {
    if (nome != "formato") continue;
    if (valor == "json") return Formato::kJson;
    if (valor == "csv") return Formato::kCsv;
    if (valor == "planilha") return Formato::kPlanilha;
    if (valor != "html") throw qx::cli::ErroUso{"formato: html, json, csv ou planilha"};
  }
  return Formato::kHtml;
}

std::string Valor(const Parametros& parametros, const std::string& nome) {
  for (const auto& [chave, valor] : parametros) {
    if (chave == nome) return valor;
  }
  return "";
}

// The CSV of one table, or of every table in blocks as qxcn --csv prints them.
Resposta Csv(const Documento& documento, const std::string& tabela, const std::string& empresa,
             qx::cli::FormaCsv forma) {
  Resposta resposta{200, qx::cli::InicioCsv(forma), "text/csv; charset=utf-8", ""};
  if (!tabela.empty()) {
    const Tabela* achada = documento.Procura(tabela);
    if (achada == nullptr) throw qx::cli::ErroUso{"a página não tem a tabela " + tabela};
    resposta.corpo += achada->Csv(forma);
    resposta.arquivo = (empresa.empty() ? "" : empresa + "-") + tabela + ".csv";
    return resposta;
  }
  for (const Parte& parte : documento.partes()) {
    if (parte.tipo != Parte::Tipo::kTabela && parte.tipo != Parte::Tipo::kResumo) continue;
    if (resposta.corpo.size() > std::strlen(qx::cli::InicioCsv(forma))) resposta.corpo += "\r\n";
    resposta.corpo += parte.tabela.Csv(forma);
  }
  return resposta;
}

Resposta Renderiza(const Documento& documento, const Endereco& endereco, Formato formato,
                   const std::string& empresa) {
  switch (formato) {
    case Formato::kJson:
      return {200, qx::cli::Escreve(documento.Json()) + "\n", "application/json", ""};
    case Formato::kCsv:
    case Formato::kPlanilha:
      return Csv(documento, Valor(endereco.parametros, "tabela"), empresa,
                 formato == Formato::kCsv ? qx::cli::FormaCsv::kProgramas
                                          : qx::cli::FormaCsv::kPlanilha);
    case Formato::kHtml:
      break;
  }
  return {200, PaginaHtml(documento, endereco)};
}

// A text of the tools as a page says it: an option "--de" is the field «de».
std::string SemOpcoes(const std::string& texto) {
  const auto letra = [&](size_t i) { return i < texto.size() && texto[i] >= 'a' && texto[i] <= 'z'; };
  std::string dito;
  for (size_t i = 0; i < texto.size(); ++i) {
    if (texto.compare(i, 2, "--") != 0 || !letra(i + 2)) {
      dito += texto[i];
      continue;
    }
    size_t fim = i + 2;
    while (letra(fim) || (fim < texto.size() && texto[fim] == '-')) ++fim;
    dito += "«" + texto.substr(i + 2, fim - i - 2) + "»";
    i = fim - 1;
  }
  return dito;
}

// What to do, unless it takes a command line, which a page's reader has not.
std::string DicaParaPagina(const std::string& dica) {
  for (const char* comando : {"qxcn", "qxadmin", "qxcheck", "ostrel", "--"}) {
    if (dica.find(comando) != std::string::npos) return "";
  }
  return dica;
}

// A failure as a page people read: what went wrong in words, what to do,
// a way back; the code only for support, out of the way.
std::string PaginaFalha(int status, const qx::cli::Relato& relato, const Endereco& endereco,
                        const std::string& voltar) {
  Documento documento;
  documento.Titulo("Não deu certo");
  documento.Trilha("Início", "/");
  const std::string oQue =
      status == 404 ? "O que foi pedido não existe: " + relato.descricao
      : relato.codigo.empty() ? SemOpcoes(relato.mensagem)
                              : "Não foi possível atender o pedido: " + relato.descricao;
  std::string html = "<div class=\"falha\"><p id=\"falha\">" + Escapa(oQue) + "</p>";
  const std::string dica = status == 404 ? "confira o endereço, ou volte e escolha de novo."
                                         : DicaParaPagina(relato.dica);
  if (!dica.empty()) html += "<p>O que fazer: " + Escapa(SemOpcoes(dica)) + "</p>";
  html += "<p>" + Link(voltar, voltar == "/" ? "‹ Voltar ao início" : "‹ Voltar à empresa") +
          "</p>";
  if (!relato.codigo.empty()) {
    html += "<details><summary>Detalhes para o suporte</summary><p>" +
            Escapa(relato.mensagem) + "</p></details>";
  }
  documento.Html(html + "</div>");
  return PaginaHtml(documento, endereco);
}

// A failure as a page, or as the error object of the tools.
Resposta Falha(int status, const qx::cli::Relato& relato, const Endereco& endereco,
               Formato formato, const std::string& voltar = "/") {
  if (formato == Formato::kJson) {
    return {status, qx::cli::Escreve(qx::cli::FalhaJson(relato, {}, "")) + "\n",
            "application/json", ""};
  }
  if (formato == Formato::kCsv || formato == Formato::kPlanilha) {
    return {status, relato.mensagem + "\n" + relato.dica + "\n", "text/plain; charset=utf-8", ""};
  }
  return {status, PaginaFalha(status, relato, endereco, voltar)};
}

int StatusDaFalha(HRESULT hr) {
  const bool inexistente = hr == E_QXARQ_FIM_DE_ARQUIVO ||
                           hr == qx::HrMensagem(qx::kMensagemLancamentoInexistente) ||
                           hr == E_QXDF_EMPRESA_SEM_PASTA;
  return inexistente ? 404 : 500;
}

// One page: its parameters read, its document made, in the form asked for.
Resposta Atende(const Rota& rota, const std::vector<std::string>& partes,
                const Endereco& endereco, const qx::Identidade& base) {
  Formato formato = Formato::kHtml;
  const std::string voltar = partes.size() > 1 ? EnderecoEmpresa(partes[1]) : "/";
  try {
    formato = LeFormato(endereco.parametros);
    qx::Identidade identidade = base;
    if (partes.size() > 1) {
      identidade.empresa = partes[1];
      identidade.origem = EnderecoEmpresa(partes[1]);
    }
    Pedido pedido(endereco, partes, LeArgumentos(rota, endereco.parametros), identidade,
                  formato == Formato::kHtml);
    Documento documento;
    rota.monta(pedido, documento);
    return Renderiza(documento, endereco, formato, identidade.empresa);
  } catch (const qx::cli::ErroUso& erro) {
    return Falha(400, {"", "", "", erro.mensagem, ""}, endereco, formato, voltar);
  } catch (const qx::FalhaServico& falha) {
    return Falha(StatusDaFalha(falha.hr), qx::cli::Relata(falha, Textos()), endereco, formato,
                 falha.hr == E_QXDF_EMPRESA_SEM_PASTA ? "/" : voltar);
  } catch (const qx::FalhaLocal& falha) {
    return Falha(500, {"", "", "", falha.mensagem, falha.dica}, endereco, formato, voltar);
  } catch (const std::exception& erro) {
    return Falha(500, {"", "", "", erro.what(), ""}, endereco, formato, voltar);
  }
}

void Responde(const Resposta& resposta, httplib::Response& http) {
  http.status = resposta.status;
  if (!resposta.arquivo.empty()) {
    http.set_header("Content-Disposition", "attachment; filename=\"" + resposta.arquivo + "\"");
  }
  http.set_content(resposta.corpo, resposta.tipo.c_str());
}

Endereco EnderecoDe(const httplib::Request& pedido) {
  Endereco endereco{pedido.path, {}};
  for (const auto& [nome, valor] : pedido.params) {
    if (!valor.empty()) endereco.parametros.emplace_back(nome, valor);
  }
  return endereco;
}

std::string PaginaEntrar(const std::string& aviso) {
  Documento documento;
  documento.Titulo("Entrar");
  std::string html = aviso.empty() ? "" : "<p class=\"falha\">" + Escapa(aviso) + "</p>";
  html +=
      "<p>Este qxweb pede o segredo que mostrou ao iniciar (no endereço a abrir), ou o do seu "
      "arquivo --token-arquivo.</p>"
      "<form method=\"post\" action=\"/entrar\"><label>Segredo <input type=\"password\" "
      "name=\"segredo\" autocomplete=\"current-password\"></label> <button>Entrar</button>"
      "</form>";
  documento.Html(html);
  return PaginaHtml(documento, {"/entrar", {}});
}

Resposta Texto(int status, const std::string& texto) {
  return {status, texto + "\n", "text/plain; charset=utf-8", ""};
}

// Checks a secret brought by a request, as often as the wrong ones before
// allow: true when it is the secret; otherwise *resposta says why not.
bool ConfereSegredo(const std::string& dado, const std::string& segredo, Tentativas& tentativas,
                    httplib::Response& resposta) {
  if (const int espera = tentativas.Espera(); espera > 0) {
    Responde(Texto(429, "Segredos errados demais: tente de novo em " + std::to_string(espera) +
                            " s."),
             resposta);
    resposta.set_header("Retry-After", std::to_string(espera));
    return false;
  }
  if (MesmoSegredo(dado, segredo)) {
    tentativas.Acertou();
    return true;
  }
  tentativas.Errou();
  Responde({401, PaginaEntrar("Segredo errado.")}, resposta);
  return false;
}

void EntregaCookie(const std::string& segredo, httplib::Response& resposta) {
  resposta.set_header("Set-Cookie", std::string(kCookie) + "=" + CookieDoSegredo(segredo) +
                                        "; HttpOnly; SameSite=Strict; Path=/");
}

// Who may come in: by one Host header, a loopback one on a loopback server;
// with a secret only who brings it, or the cookie made from it. The address
// that carries the secret sets the cookie and leads to itself without it;
// the login page is open.
void Protege(httplib::Server& servidor, const Configuracao& configuracao) {
  const bool loopback = EhLoopback(configuracao.endereco);
  const std::string segredo = configuracao.segredo;
  const std::string cookie = segredo.empty() ? "" : CookieDoSegredo(segredo);
  const auto tentativas = std::make_shared<Tentativas>();
  servidor.set_pre_routing_handler([=](const httplib::Request& pedido,
                                       httplib::Response& resposta) {
    using httplib::Server;
    if (pedido.get_header_value_count("Host") > 1) {
      Responde(Texto(400, "um pedido traz um só cabeçalho Host"), resposta);
      return Server::HandlerResponse::Handled;
    }
    if (loopback && !HostLocal(pedido.get_header_value("Host"))) {
      Responde(Texto(403, "qxweb atende só pelo endereço desta máquina (127.0.0.1)"), resposta);
      return Server::HandlerResponse::Handled;
    }
    if (segredo.empty()) return Server::HandlerResponse::Unhandled;
    if (pedido.has_param(kParametroSegredo)) {
      if (ConfereSegredo(pedido.get_param_value(kParametroSegredo), segredo, *tentativas,
                         resposta)) {
        EntregaCookie(segredo, resposta);
        resposta.set_redirect(EnderecoDe(pedido).Com(kParametroSegredo, "").Texto(), 303);
      }
      return Server::HandlerResponse::Handled;
    }
    if (pedido.path == "/entrar" ||
        MesmoSegredo(ValorCookie(pedido.get_header_value("Cookie"), kCookie), cookie)) {
      return Server::HandlerResponse::Unhandled;
    }
    const std::string dado = SegredoDoPedido("", pedido.get_header_value("Authorization"));
    if (dado.empty()) {
      Responde({401, PaginaEntrar("")}, resposta);
    } else if (ConfereSegredo(dado, segredo, *tentativas, resposta)) {
      return Server::HandlerResponse::Unhandled;
    }
    return Server::HandlerResponse::Handled;
  });
  if (segredo.empty()) return;
  servidor.Get("/entrar", [](const httplib::Request&, httplib::Response& resposta) {
    Responde({200, PaginaEntrar("")}, resposta);
  });
  servidor.Post("/entrar", [segredo, tentativas](const httplib::Request& pedido,
                                                 httplib::Response& resposta) {
    if (ConfereSegredo(pedido.get_param_value("segredo"), segredo, *tentativas, resposta)) {
      EntregaCookie(segredo, resposta);
      resposta.set_redirect("/", 303);
    }
  });
}

std::string Anfitriao(const std::string& endereco) {
  return endereco.find(':') != std::string::npos && !endereco.starts_with("[")
             ? "[" + endereco + "]"
             : endereco;
}

}  // namespace

void Serve(const Configuracao& configuracao,
           const std::function<void(const std::string&)>& pronto) {
  Frente servidor;
  servidor.set_payload_max_length(kMaiorCorpo);
  servidor.set_default_headers({
      {"Content-Security-Policy",
       "default-src 'none'; style-src 'unsafe-inline'; form-action 'self'; "
       "frame-ancestors 'none'; base-uri 'none'"},
      {"X-Content-Type-Options", "nosniff"},
      {"Referrer-Policy", "no-referrer"},
      {"Cache-Control", "no-store"},
  });
  Protege(servidor, configuracao);
  const qx::Identidade identidade = configuracao.identidade;
  for (const Rota& rota : Rotas()) {
    servidor.Get(rota.padrao, [&rota, identidade](const httplib::Request& pedido,
                                                  httplib::Response& resposta) {
      std::vector<std::string> partes(pedido.matches.begin(), pedido.matches.end());
      Responde(Atende(rota, partes, EnderecoDe(pedido), identidade), resposta);
    });
  }

  const qx::StopRequest parada;
  servidor.Escuta(configuracao.endereco, configuracao.porta);
  const std::string empresa = configuracao.identidade.empresa;
  const std::string caminho = empresa.empty() ? "/" : EnderecoEmpresa(empresa);
  pronto("http://" + Anfitriao(configuracao.endereco) + ":" + std::to_string(servidor.porta()) +
         (configuracao.mostraSegredo ? Url(caminho, {{kParametroSegredo, configuracao.segredo}})
                                     : caminho));
  servidor.Serve([&parada] { return parada.Requested(); });
}

}  // namespace qxweb
