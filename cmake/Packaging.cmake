# The Debian package, made by CPack from the install rules: "cpack -G DEB" in
# a build directory, or scripts/package. Its dependencies are the libraries
# that dpkg-shlibdeps finds the programs linked to, and what Qt loads at run
# time without linking to it: the platform plugins that open windows and the
# translations that put Qt's own buttons in Portuguese.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quelvara)
set(CPACK_PACKAGE_VENDOR Quelvara)
set(CPACK_PACKAGE_CONTACT "Quelvara <contato@quelvara.com.br>")
set(CPACK_PACKAGE_HOMEPAGE_URL https://www.quelvara.com.br)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "relatórios das contas públicas municipais (Lei 9.755/98)")
set(CPACK_PACKAGE_DESCRIPTION
  "O Quelvara prepara os relatórios das contas públicas que a Prefeitura deve\n\
publicar segundo a Lei 9.755/98: mantém os dados da Prefeitura e os cadastros,\n\
lança os itens de cada relatório por ano e período, calcula os valores\n\
acumulados no ano e gera uma página por relatório, pronta para imprimir ou\n\
enviar.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
include(CPack)
