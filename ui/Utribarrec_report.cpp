#include "Utribarrec.h"
#include "catalogue.h"
#include "htmlpage.h"
#include "messages.h"
#include "platform.h"
#include "reportpaths.h"
#include "textfile.h"
#include "vendor.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include <algorithm>

using namespace quelvara;

namespace {

// The page of the list last loaded, or nothing while the year is no year.
QString currentPagePath(const TTribArrec &editor)
{
    if (!isValidYear(editor.Ano)) {
        return {};
    }
    return pageFilePath(editor.Ano, editor.PrefixoArq, editor.Periodo);
}

} // namespace

void TTribArrec::WritePage()
{
    PageInput input;
    input.title = Title->currentText();
    input.municipality = Prefeitura->text();
    input.year = Ano;
    input.periodName = cbPeriodo->currentText();
    input.fieldCount = std::clamp(NumCampos, 0, kMaxFields);
    for (int i = 1; i <= input.fieldCount; ++i) {
        input.captions.append(Campo[i]->text());
        input.fieldTypes.append(TipoCampo[i]);
    }
    input.codes = items.codes();
    input.lines = items.lines();
    input.prefeito = Prefeito->text();
    input.secFin = SecFin->text();
    input.contador = Contador->text();
    input.crc = CRC->text();
    const ReportKind *kind = currentKind();
    input.totalRow = hasTotalRow(category(), kind ? kind->position : -1);

    const FileResult result = writePageFile(Ano, PrefixoArq, Periodo, buildPage(input));
    if (!result.message().isEmpty()) {
        showOnce(result.message());
    }
}

void TTribArrec::btViewClick()
{
    WritePage();
    const QString path = currentPagePath(*this);
    if (!path.isEmpty() && fileExists(path) && !platform().openAddress(path)) {
        showOnce(msg::cannotOpenPage(path));
    }
}

void TTribArrec::SpeedButton8Click()
{
    const QString path = currentPagePath(*this);
    if (path.isEmpty() || !fileExists(path)) {
        WritePage();
    }
    if (!platform().openAddress(QStringLiteral("mailto:") + vendor::kContactEmail)) {
        // The page to attach, when there is one, is named so it can be sent by hand.
        showOnce(!path.isEmpty() && fileExists(path)
                     ? msg::cannotSendPage(vendor::kContactEmail, path)
                     : msg::cannotOpenMail(vendor::kContactEmail));
    }
}
