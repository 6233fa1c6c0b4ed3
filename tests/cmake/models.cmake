# The committed models are exactly what the generator writes.
add_test(NAME ModelsMatchTheirGenerator
  COMMAND bash -c "dir=$(mktemp -d) && trap 'rm -rf \"$dir\"' EXIT && \"$1\" \"$dir\" && \
for f in \"$dir\"/*.x; do cmp \"$f\" \"$2/$(basename \"$f\")\" || exit 1; done && \
[ $(ls \"$dir\"/*.x | wc -l) -eq 10 ]" _ $<TARGET_FILE:make_models> ${PROJECT_SOURCE_DIR}/data/model)
