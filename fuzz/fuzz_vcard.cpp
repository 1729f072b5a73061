// The vCard reader on arbitrary bytes: the clients it reads, written as
// vCards and read again, come back with every field's text as it was, with
// nothing cut or skipped; its counts add up. (A value cut to its field may
// end in a blank, which the stored text does not show and a vCard does not
// carry: texts are compared, as the user sees them.)
#include "FuzzSupport.h"

#include "import/ImportPlan.h"
#include "import/VCard.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    import::Counts counts;
    const QString input = fuzz::put(QStringLiteral("in.vcf"), fuzz::view(data, size).toByteArray());
    QList<ClientRecord> clients;
    try {
        clients = vcard::readFile(input, counts);
    } catch (const import::FormatError &) {
        return 0; // not a vCard, and taken for a binary spreadsheet
    }
    FUZZ_CHECK(counts.rows == clients.size());
    FUZZ_CHECK(counts.blankRows >= 0 && counts.refusedRows >= 0);

    const QString file = fuzz::path(QStringLiteral("c.vcf"));
    vcard::writeFile(file, clients);
    import::Counts again;
    const QList<ClientRecord> back = vcard::readFile(file, again);
    FUZZ_CHECK(back.size() == clients.size());
    FUZZ_CHECK(again.cutValues == 0 && again.blankRows == 0 && again.refusedRows == 0);
    for (qsizetype i = 0; i < back.size(); ++i)
        for (int f = 0; f < ClientField::Count; ++f)
            FUZZ_CHECK(back[i].text(f) == clients[i].text(f));
    return 0;
}
