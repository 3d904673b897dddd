// The help of a tool and of its subcommands, written from the option tables.
#pragma once

#include <cstdio>
#include <string>

#include "common/programa.h"

namespace qx::cli {

// The options every tool takes: -h/--help, --version, --completion.
std::vector<Opcao> OpcoesConvencao(const Programa& programa);

// "qxcn grava [opções]" or "qxdump [opções] ARQUIVO [PRIMEIRO[-[ULTIMO]]]".
std::string LinhaUso(const Programa& programa, const Comando& comando);

// The tool's help; with a group ("notas"), only that group's subcommands.
void EscreveAjuda(const Programa& programa, const std::string& grupo, std::FILE* saida);
void EscreveAjudaComando(const Programa& programa, const Comando& comando, std::FILE* saida);

}  // namespace qx::cli
