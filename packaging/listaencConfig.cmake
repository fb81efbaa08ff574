# SPDX-License-Identifier: MIT
# The ListaEnc library: the targets listaenc::game and listaenc::demo.
include("${CMAKE_CURRENT_LIST_DIR}/listaencTargets.cmake")
