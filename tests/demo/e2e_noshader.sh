#!/usr/bin/env bash
# Without vertex shaders the program reports the driver, says so and ends with status 1
# before it loads any mesh.
source "$(dirname "$0")/e2e_lib.sh"
status=0
MESA_EXTENSION_OVERRIDE="-GL_ARB_vertex_shader" timeout "$LONG" "$VANTOR" >"$OUT" 2>"$ERR" ||
  status=$?
[ "$status" -eq 1 ] || fail "exit status $status, expected 1"
output_has '^ Using GLEW ' && output_has '^ OpenGL ver: ' || fail "the driver was not reported"
grep -qE 'no shader support!!!!!$' "$ERR" || fail "no report of the missing shaders"
! output_has 'mtl/|mesh loaded|counts:|shader supported' || fail "went on after the report"
echo "no-shader test passed"
