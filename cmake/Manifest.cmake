# The manifests of the Windows programs go into them without comments and without the blanks
# between elements: the programs carry every byte, and the system reads them the same.
#
#   include(Manifest)
#   pelmora_configure_manifest(<in> <out>)   configures <in> (@VAR@ only) into <out>, short

function(pelmora_configure_manifest in out)
  configure_file(${in} ${out}.full @ONLY)
  file(READ ${out}.full manifest)
  string(REGEX REPLACE "<!--[^-]*-->" "" manifest "${manifest}")
  string(REGEX REPLACE ">[ \t\r\n]+<" "><" manifest "${manifest}")
  string(REGEX REPLACE "[ \t\r\n]+" " " manifest "${manifest}")
  string(STRIP "${manifest}" manifest)
  # Written only when it changes, so that a new configuration builds no resource again.
  file(CONFIGURE OUTPUT ${out} CONTENT "${manifest}" @ONLY)
endfunction()
