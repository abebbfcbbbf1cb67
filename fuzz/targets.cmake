# The fuzz targets: one line each, naming fuzz/targets/<name>.cpp.  Its seed
# corpus lies in fuzz/corpus/<name>/ and every input that once broke it is
# kept in fuzz/regressions/<name>/ (replayed by the test gates_fuzz_regressions
# in every build).
set(ZENTORA_FUZZ_TARGETS
  ini_profile       # profile files: valueIn / withValue / withoutKey
  cp1252            # Windows-1252 to and from Unicode
  buffer_campo      # printer::campo / printer::texto over answer buffers
  percentual_livre  # uZentora3::percentualLivre
  validate_file     # validateFile over any file and key texts; the EAD signer
  textos_kesafi     # every printer library function that takes texts; refusals change nothing
)
