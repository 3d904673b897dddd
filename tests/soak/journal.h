// The journal of acknowledged calls that the soak clients keep, one file per
// client process, and its reading back from a fresh server. A client writes a
// line only after the call succeeded (one write() per line):
//   "S month position amount text"  a new entry     "U ..." the same for an update
//   "T month position"              an update or removal about to be tried
//   "D month position"              a removal
#pragma once

#include <fcntl.h>

#include <initializer_list>
#include <random>
#include <map>
#include <sstream>
#include <string>

#include "soak_support.h"
#include "values/qx_data.h"
#include "values/qx_mes_ano.h"

namespace qx::soak {

struct Estado {
  bool excluido = false;
  bool incerto = false;  // a call was tried and not acknowledged
  int64_t valor = 0;
  std::string texto;
  int salvas = 0;       // acknowledged new entries at this position, by every client
  int alteracoes = 0;   // acknowledged updates
};
using Esperado = std::map<std::pair<uint16_t, int32_t>, Estado>;

// Writes one line: the type and the fields, separated by spaces.
inline void Anota(int fd, char tipo, std::initializer_list<std::string> campos) {
  std::string texto(1, tipo);
  for (const std::string& campo : campos) texto.append(1, ' ').append(campo);
  texto += '\n';
  if (write(fd, texto.data(), texto.size()) != static_cast<ssize_t>(texto.size())) _exit(5);
}

// The days the clients save on: two months.
inline const CQXData kDias[2] = {CQXData::Make(9, 5, 2024), CQXData::Make(20, 6, 2024)};

struct Proprio {
  uint16_t mes;
  int32_t posicao;
};

// A client's life: random calls (new entries, updates and removals of its own) until
// killed, or until `novas` new entries were acknowledged (0: no end); a failed call means
// the server went away. `processo` numbers the client processes of the run, for branches:
// each connection saves under a branch of its own.
[[noreturn]] inline void Cliente(int id, int processo, uint32_t semente, const std::string& arquivo,
                                 const _REG_DF_INICIALIZAPS& identidade = RegistroInicializacao(),
                                 int novas = 0) {
  alarm(120);  // never outlive a stuck test
  const int fd = open(arquivo.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
  if (fd < 0) _exit(6);
  std::mt19937 rng(semente);
  std::vector<Proprio> proprios;
  Service s;
  uint16_t filial = 0;
  for (int n = 0, conexoes = 0;; ++n) {
    if (!s) {
      s = Connect(identidade);
      if (!s) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        continue;
      }
      filial = static_cast<uint16_t>(1 + processo * 64 + conexoes++ % 64);
      proprios.clear();
    }
    const uint32_t sorte = rng() % 100;
    const int64_t valor = static_cast<int64_t>(rng() % 1000000 + 1) * 100;
    std::string texto = "c";
    texto.append(std::to_string(id)).append(1, '_').append(std::to_string(n));
    if (sorte < 55 || proprios.empty()) {
      const CQXData dia = kDias[rng() % 2];
      int32_t indlan = 0;
      if (Salva(s.get(), filial, dia, valor, texto, &indlan) != S_OK || indlan <= 0) {
        s.reset();
        continue;
      }
      const uint16_t mes = dia.MesAno().Value();
      Anota(fd, 'S', {std::to_string(mes), std::to_string(indlan), std::to_string(valor), texto});
      proprios.push_back({mes, indlan});
      if (--novas == 0) _exit(0);
      continue;
    }
    const size_t i = rng() % proprios.size();
    const Proprio alvo = proprios[i];
    const std::string mes = std::to_string(alvo.mes), posicao = std::to_string(alvo.posicao);
    if (sorte < 80) {
      if (s->Le(alvo.posicao, alvo.mes) != S_OK) {
        s.reset();
        continue;
      }
      Anota(fd, 'T', {mes, posicao});
      int32_t indlan = alvo.posicao;
      const CQXData dia = kDias[alvo.mes == kDias[0].MesAno().Value() ? 0 : 1];
      if (Salva(s.get(), filial, dia, valor, texto, &indlan) == S_OK) {
        Anota(fd, 'U', {mes, posicao, std::to_string(valor), texto});
        continue;
      }
    } else {
      Anota(fd, 'T', {mes, posicao});
      if (s->Exclui(alvo.posicao, alvo.mes) == S_OK) {
        Anota(fd, 'D', {mes, posicao});
        proprios.erase(proprios.begin() + static_cast<ptrdiff_t>(i));
        continue;
      }
    }
    // Unacknowledged: the entry may hold either state; leave it alone from now on.
    proprios.erase(proprios.begin() + static_cast<ptrdiff_t>(i));
    s.reset();
  }
}

// Adds the acknowledged calls of one client's file; gives how many there were.
inline size_t LeAnotacoes(const std::string& arquivo, Esperado* esperado) {
  std::istringstream linhas(ReadText(arquivo));
  size_t quantas = 0;
  for (std::string linha; std::getline(linhas, linha);) {
    std::istringstream campos(linha);
    char tipo = 0;
    uint16_t mes = 0;
    int32_t posicao = 0;
    campos >> tipo >> mes >> posicao;
    Estado& estado = (*esperado)[{mes, posicao}];
    if (tipo == 'T') {
      estado.incerto = true;
      continue;
    }
    ++quantas;
    const int salvas = estado.salvas + (tipo == 'S'), alteracoes = estado.alteracoes + (tipo == 'U');
    estado = Estado{};
    estado.salvas = salvas;
    estado.alteracoes = alteracoes;
    estado.excluido = tipo == 'D';
    if (tipo != 'D') campos >> estado.valor >> estado.texto;
  }
  return quantas;
}

// In a child: reads every acknowledged entry back from a fresh server; exits with the
// number of entries that differ (at most 100).
[[noreturn]] inline void Confere(const Esperado& esperado) {
  alarm(120);
  Service s = ConnectUntil(std::chrono::steady_clock::now() + std::chrono::seconds(30));
  if (!s) _exit(101);
  int diferentes = 0, lidos = 0, excluidos = 0;
  for (const auto& [chave, estado] : esperado) {
    if (estado.incerto) continue;
    ++lidos;
    excluidos += estado.excluido ? 1 : 0;
    RegDadosComplemento dados{};
    const HRESULT hr = s->LeDadosComplemento(chave.second, chave.first, &dados);
    const bool certo = estado.excluido ? (hr & 0xFFFF) == 0x05F7
                                       : hr == S_OK && dados.RegLan.Valor.int64 == estado.valor &&
                                             estado.texto == dados.cComplemento;
    if (!certo && diferentes++ < 100) {
      fprintf(stderr, "month %u position %d: expected %s %lld %s, read hr %#x %lld %s\n",
              chave.first, chave.second, estado.excluido ? "deleted" : "live",
              static_cast<long long>(estado.valor), estado.texto.c_str(), static_cast<unsigned>(hr),
              static_cast<long long>(dados.RegLan.Valor.int64), dados.cComplemento);
    }
  }
  printf("read back %d acknowledged entries (%d deleted), %d differ\n", lidos, excluidos,
         diferentes);
  fflush(stdout);
  _exit(diferentes > 100 ? 100 : diferentes);
}

// Reads every acknowledged entry back in a child (Confere); its exit code.
inline int ConfereEmFilho(const Esperado& esperado) {
  const pid_t conferente = fork();
  if (conferente == 0) Confere(esperado);
  return WaitChild(conferente, std::chrono::steady_clock::now() + std::chrono::seconds(150));
}

}  // namespace qx::soak
