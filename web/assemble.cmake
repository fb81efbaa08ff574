# SPDX-License-Identifier: MIT
# Makes a page of one file: the template with its style, its script and the
# module's script (the WebAssembly inside it) put in the places marked
# /*estilo*/, /*modulo*/ and /*script*/. A script may not hold "</script",
# which would end its element: the module's is written "<\/script" (the same
# text to JavaScript); the page's own script must hold none. A page is at
# most 4 MB. With PICTURES (the static pages' style), the style of their
# pictures comes first: its colours and its one-line rules for svg.
foreach(part TEMPLATE STYLE SCRIPT MODULE)
  file(READ ${${part}} ${part}_TEXT)
endforeach()
if(PICTURES)
  file(STRINGS ${PICTURES} colours REGEX "^  --[a-z-]+: [^;]+;$")
  file(STRINGS ${PICTURES} rules REGEX "^(svg|#arrow)[^{]*{[^}]*}$")
  list(JOIN colours "\n" colours)
  list(JOIN rules "\n" rules)
  set(STYLE_TEXT ":root {\n${colours}\n}\n${rules}\n${STYLE_TEXT}")
endif()
string(FIND "${SCRIPT_TEXT}" "</script" found)
if(NOT found EQUAL -1)
  message(FATAL_ERROR "${SCRIPT} holds </script")
endif()
string(REPLACE "</script" "<\\/script" MODULE_TEXT "${MODULE_TEXT}")
set(page "${TEMPLATE_TEXT}")
foreach(mark estilo:STYLE script:SCRIPT modulo:MODULE)
  string(REPLACE ":" ";" mark ${mark})
  list(GET mark 0 place)
  list(GET mark 1 part)
  string(FIND "${page}" "/*${place}*/" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "${TEMPLATE} has no /*${place}*/")
  endif()
  string(LENGTH "/*${place}*/" length)
  string(SUBSTRING "${page}" 0 ${at} before)
  math(EXPR after_at "${at} + ${length}")
  string(SUBSTRING "${page}" ${after_at} -1 after)
  set(page "${before}${${part}_TEXT}${after}")
endforeach()
string(LENGTH "${page}" size)
if(size GREATER 4194304)
  message(FATAL_ERROR "${OUTPUT} would be ${size} bytes, more than 4 MB")
endif()
file(WRITE ${OUTPUT} "${page}")
