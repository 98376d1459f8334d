#include "platform/random_ids.h"

#include <QRandomGenerator>

namespace {

QUuid idFrom(quint32 words[4])
{
    char* b = reinterpret_cast<char*>(words);
    b[6] = char((uchar(b[6]) & 0x0F) | 0x40);  // version 4: random
    b[8] = char((uchar(b[8]) & 0x3F) | 0x80);  // the standard's variant
    return QUuid::fromRfc4122(QByteArrayView(b, 16));
}

}  // namespace

QUuid randomId()
{
    quint32 words[4];
    QRandomGenerator::global()->fillRange(words);
    return idFrom(words);
}

QList<QUuid> randomIds(qsizetype n)
{
    QList<QUuid> out;
    out.reserve(n);
    QList<quint32> random(n * 4);
    QRandomGenerator::global()->fillRange(random.data(), random.size());
    for (qsizetype i = 0; i < n; ++i)
        out << idFrom(random.data() + i * 4);
    return out;
}
