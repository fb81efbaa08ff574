# SPDX-License-Identifier: MIT
# The ListaEnc library: the targets listaenc::game and listaenc::demo, and
# their traced builds listaenc::game_traced and listaenc::demo_traced.
include("${CMAKE_CURRENT_LIST_DIR}/listaencTargets.cmake")
