#!/usr/bin/env bash
# Without vertex shaders the program reports the driver, says so and ends with status 1
# before it loads any mesh.
source "$(dirname "$0")/e2e_lib.sh"

status=0
MESA_EXTENSION_OVERRIDE="-GL_ARB_vertex_shader" timeout 60 "$VANTOR" >"$OUT" 2>"$ERR" ||
  status=$?
[ "$status" -eq 1 ] || fail "exit status $status, expected 1"
for line in '^ Using GLEW ' '^ OpenGL ver: '; do
  output_has "$line" || fail "no line matching '$line'"
done
grep -qE 'no shader support!!!!!$' "$ERR" || fail "no report of the missing shaders"
! output_has 'mtl/|mesh loaded|counts:' || fail "a mesh was loaded"
! output_has 'vertex and fragment shader supported' || fail "shaders reported as supported"
echo "no-shader test passed"
