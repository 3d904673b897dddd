// What a tool includes to be one: the tables, the command line, the output
// model and the failures of the conventions every tool keeps.
#pragma once

#include "common/argumentos.h"
#include "common/celula.h"
#include "common/falhas.h"
#include "common/programa.h"
#include "common/saida.h"
#include "common/tabela.h"
