# SPDX-License-Identifier: MIT
# Writes OUTPUT, a header that holds the listing of each member function of
# ListaEnc defined in SOURCE: every line of its definition, numbered as in
# SOURCE, written as the plain statements that the step macros stand for,
# without the lines that only trace or check. Run as
#   cmake -DSOURCE=listaenccircular.cpp -DOUTPUT=listaenc_listing.h -P listing.cmake
cmake_minimum_required(VERSION 3.25)

file(READ "${SOURCE}" text)
# A list of lines: the characters that CMake's lists take for their own are
# kept aside and given back line by line.
string(REPLACE "\\" "@B@" text "${text}")
string(REPLACE ";" "@S@" text "${text}")
string(REPLACE "[" "@L@" text "${text}")
string(REPLACE "]" "@R@" text "${text}")
string(REPLACE "\n" ";" lines "${text}")

# The statement that a line of the source stands for, in `out`; empty when
# the line only traces or checks.
function(plain line out)
  if(line MATCHES "^ *(CALL|CALL_ON|ENTER|LISTAENC_REQUIRE|LISTAENC_CHECKED|FROM_OBSERVER|WALK_LIMIT)[(@]")
    set(${out} "" PARENT_SCOPE)
    return()
  endif()
  # Tests: `while (!TEST(cursor, t))` is `while (!(t))`, `if (CHECK(c, t))` is `if (t)`.
  string(REGEX REPLACE "(if|while) \\((TEST|CHECK)\\([a-z_]+, (.*)\\)\\)" "\\1 (\\3)" line "${line}")
  string(REGEX REPLACE "(if|while) \\(CHECK_IF\\((.*)\\)\\)" "\\1 (\\2)" line "${line}")
  string(REGEX REPLACE "TEST_WORDS\\([a-z_]+, ([^,]*\\)), test\\)" "\\1" line "${line}")
  string(REGEX REPLACE "(TEST|CHECK)\\([a-z_]+, " "(" line "${line}")
  string(REGEX REPLACE "CHECK_IF\\(" "(" line "${line}")
  # Steps.
  string(REGEX REPLACE "LET\\(([a-z_]+), (.*)\\)@S@" "node* \\1 = \\2@S@" line "${line}")
  string(REPLACE " && !WALKED()" "" line "${line}")
  string(REGEX REPLACE "STEP_ON\\(([a-z_]+), (.*)\\)@S@" "\\1 = \\2@S@" line "${line}")
  string(REGEX REPLACE "LINK_HEAD\\((.*)\\)@S@" "head = \\1@S@" line "${line}")
  string(REGEX REPLACE "LINK\\(([a-z_]+), (.*)\\)@S@" "\\1->next = \\2@S@" line "${line}")
  string(REGEX REPLACE "MAKE\\(([a-z_]+), ([^,]+), (.*)\\)@S@" "\\1 = new node{\\2, \\3}@S@"
         line "${line}")
  string(REGEX REPLACE "RELEASE\\((.*)\\)@S@" "delete \\1@S@" line "${line}")
  string(REGEX REPLACE "HAND_OVER\\(([a-z_]+)\\)" "std::unique_ptr<node>(\\1)" line "${line}")
  string(REGEX REPLACE "RAISE\\(([A-Za-z]+)\\)" "throw \\1()" line "${line}")
  string(REGEX REPLACE "PRINTED\\(([a-z]+)\\)@S@" "" line "${line}")
  string(REGEX REPLACE "MATCH\\((.*)\\)\\)" "[&](const node* atual) { return \\1@S@ })" line
         "${line}")
  string(REGEX REPLACE "@L@@L@maybe_unused@R@@R@ " "" line "${line}")
  if(line MATCHES "^ *$")
    set(line "@EMPTY@")
  endif()
  set(${out} "${line}" PARENT_SCOPE)
endfunction()

set(machinery link hand_over tell told tested observe observer require_element require_elements
              require_other broken)
set(body "")
set(index "")
set(number 0)
set(inside OFF)
set(previous "")
set(count 0)
foreach(line IN LISTS lines)
  math(EXPR number "${number} + 1")
  if(NOT inside AND NOT line MATCHES "@S@$"
     AND line MATCHES "^[A-Za-z].*ListaEnc::([~A-Za-z_][A-Za-z_=]*)\\(")
    set(function "${CMAKE_MATCH_1}")
    set(inside ON)
    set(first ${count})
    set(first_number ${number})
    if(previous MATCHES "^template ")
      math(EXPR template_line "${number} - 1")
      string(APPEND body "    {${template_line}, R\"listing(${previous})listing\"},\n")
      math(EXPR count "${count} + 1")
    endif()
  endif()
  if(inside)
    plain("${line}" statement)
    if(NOT statement STREQUAL "")
      if(statement STREQUAL "@EMPTY@")
        set(statement "")
      endif()
      string(APPEND body "    {${number}, R\"listing(${statement})listing\"},\n")
      math(EXPR count "${count} + 1")
    endif()
    if(line STREQUAL "}" OR (line MATCHES "^[A-Za-z].*{.*}$"))
      set(inside OFF)
      math(EXPR size "${count} - ${first}")
      if(function IN_LIST machinery)
        # What tells and checks the steps is not one: its lines go.
        string(FIND "${body}" "    {${first_number}, " cut)
        string(SUBSTRING "${body}" 0 ${cut} body)
        set(count ${first})
      else()
        string(APPEND index "    {\"${function}\", source_lines + ${first}, ${size}},\n")
      endif()
    endif()
  endif()
  set(previous "${line}")
endforeach()

string(REPLACE "@S@" ";" body "${body}")
string(REPLACE "@L@" "[" body "${body}")
string(REPLACE "@R@" "]" body "${body}")
string(REPLACE "@B@" "\\" body "${body}")

file(WRITE "${OUTPUT}.new" "// SPDX-License-Identifier: MIT
// Made from listaenccircular.cpp when the list is built: the listing of each
// function of the list, its lines numbered as in that file, so that a step's
// line (Step::line in the traced build) finds its function and its place.
#ifndef LISTAENC_LISTING_H
#define LISTAENC_LISTING_H

#include <cstddef>

struct SourceLine {
    int number;       // in listaenccircular.cpp
    const char* text; // as the code reads, without the lines that only trace or check
};

struct SourceListing {
    const char* function; // \"inserir\", \"last\", \"sort_by\"...
    const SourceLine* lines;
    std::size_t size;
};

inline constexpr SourceLine source_lines[] = {
${body}};

inline constexpr SourceListing source_listings[] = {
${index}};

// Returns: the listing of the function whose definition holds this line of
//   listaenccircular.cpp, or null. Cost: O(number of functions).
inline const SourceListing* listing_at(int line) noexcept {
    for (const SourceListing& listing : source_listings) {
        if (listing.lines[0].number <= line && line <= listing.lines[listing.size - 1].number) {
            return &listing;
        }
    }
    return nullptr;
}

#endif
")
file(COPY_FILE "${OUTPUT}.new" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.new")
