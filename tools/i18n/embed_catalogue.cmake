# Writes a C++ file holding a compiled catalogue (.mo) as a byte array.
# Run as: cmake -DCATALOGUE=it.mo -DOUTPUT=file.cpp -P embed_catalogue.cmake
file(READ ${CATALOGUE} hex HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
set(body "// Made at build time from po/it.po by msgfmt and embed_catalogue.cmake.\n")
string(APPEND body "#include \"tools/i18n/embedded_catalogue.h\"\n\nnamespace scenario::i18n {\n\n")
string(APPEND body "namespace {\nconstexpr unsigned char italian[] = {${bytes}};\n}  // namespace\n\n")
string(APPEND body "std::span<const unsigned char> italian_catalogue_bytes() { return italian; }\n\n")
string(APPEND body "}  // namespace scenario::i18n\n")
file(WRITE ${OUTPUT}.tmp "${body}")
file(COPY_FILE ${OUTPUT}.tmp ${OUTPUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUTPUT}.tmp)
