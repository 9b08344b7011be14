#include "bench/generate/AssetWriter.h"

#include "bench/generate/BulkInsert.h"
#include "bench/generate/Calendar.h"
#include "bench/generate/DepreciationRuns.h"
#include "bench/generate/SeededRandom.h"
#include "suite/data/Schema.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace bench {

using suite::Schema;

namespace {

constexpr quint64 AssetStream = 100;

// Most assets are recent (a catalogue that grows fast); a few are old
// furniture and machinery still on the books, the only ones with ten full
// years of postings. Together about ten postings per asset and book.
constexpr double MeanAgeMonths = 8;
constexpr double OldStockShare = 0.04;
constexpr double SpreadShare = 0.25;      // distributed over 2 to 10 centres
constexpr double DeactivatedShare = 0.025;
constexpr double EquipmentShare = 0.7;    // of the assets of equipment types
constexpr double VehicleShare = 0.8;      // of the assets of vehicle types
constexpr double ModifiedShare = 0.4;
constexpr double CancelledShare = 1.0 / 6;
constexpr int MaxPostings = 120;          // per book: 12 a year for 10 years

const QStringList Operators = {u"ADMIN"_s, u"MGARZA"_s, u"JTREVINO"_s, u"ASVILLARREAL"_s, u"CRAMIREZ"_s};
const QStringList Ratings = {u"Excelente"_s, u"Bueno"_s, u"Bueno"_s, u"Regular"_s, u"Malo"_s};
const QStringList Places = {u"Piso 1"_s, u"Piso 2"_s, u"Piso 3"_s, u"Nave A"_s, u"Nave B"_s, u"Patio"_s,
                            u"Recepción"_s, u"Sala de juntas"_s, u"Andén 4"_s};
const QStringList Insurers = {u"Seguros del Norte"_s, u"Aseguradora Nacional"_s, u"Protección Vial"_s};
const QStringList LogTexts = {
    u"Cambio de responsable del activo"_s, u"Actualización de la distribución de centros de costo"_s,
    u"Corrección del número de serie"_s, u"Registro de la póliza de seguro"_s,
    u"Cambio de ubicación por reorganización"_s, u"Actualización de la factura de compra"_s};

QString padded(qint64 number, int width)
{
    return QString::number(number).rightJustified(width, u'0');
}

// One book's postings: how many months, the monthly amount and the last
// month's, which takes the remainder when the asset is fully depreciated
// so that the book adds up to its cost exactly.
struct Book
{
    int months = 0;
    qint64 monthly = 0;
    qint64 last = 0;
    qint64 accumulated = 0;
};

Book book(qint64 cost, int lifeMonths, int available)
{
    Book b;
    b.months = std::min({available, lifeMonths, MaxPostings});
    b.monthly = cost / lifeMonths;
    b.last = b.months == lifeMonths ? cost - b.monthly * (lifeMonths - 1) : b.monthly;
    b.accumulated = b.months > 0 ? b.monthly * (b.months - 1) + b.last : 0;
    return b;
}

// Shares in quarters of a percent, so that they add up to exactly 100 in
// binary floating point too; none below 2 %.
QVector<int> quarters(SeededRandom &random, int parts)
{
    constexpr int least = 8;
    QVector<int> result;
    int left = 400;
    for (int i = 0; i < parts - 1; ++i) {
        const int share = random.between(least, left - least * (parts - 1 - i));
        result.append(share);
        left -= share;
    }
    result.append(left);
    return result;
}

// A plate per vehicle: three letters, three digits and a letter, unique
// for the first seventeen million vehicles.
QString plate(qint64 vehicle, SeededRandom &random)
{
    QString letters;
    for (qint64 rest = vehicle, i = 0; i < 3; ++i, rest /= 26)
        letters += QChar(u'A' + int(rest % 26));
    return letters + u'-' + padded(vehicle / 17576 % 1000, 3) + u'-' + QChar(u'A' + random.between(0, 25));
}

QDate earliest(const QDate &a, const QDate &b)
{
    return a < b ? a : b;
}

const QStringList AuditColumns = {u"Es_Cve_Estado"_s, u"Oper_Alta"_s, u"Fecha_Alta"_s, u"Oper_Ult_Modif"_s,
                                  u"Fecha_Ult_Modif"_s, u"Oper_Baja"_s, u"Fecha_Baja"_s};

} // namespace

AssetWriter::AssetWriter(QSqlDatabase database, const References &references, quint64 seed)
    : m_database(std::move(database))
    , m_references(references)
    , m_seed(seed)
{
    for (const AssetKind &kind : m_references.kinds)
        m_totalWeight += kind.weight;
}

QString AssetWriter::assetKey(qint64 number)
{
    return padded(number, 10);
}

qint64 AssetWriter::write(qint64 first, qint64 last)
{
    const References &refs = m_references;
    BulkInsert assets(m_database, u"Activo_Fijo"_s, Schema::writtenColumns(u"Activo_Fijo"_s));
    BulkInsert distribution(m_database, u"Activo_Fijo_Centro_Costo"_s,
                            Schema::writtenColumns(u"Activo_Fijo_Centro_Costo"_s));
    BulkInsert equipment(m_database, u"Equipo"_s, QStringList{
        u"Eq_Cve_Equipo"_s, u"Eq_Cliente"_s, u"Eq_Activo_Fijo"_s, u"Te_Cve_Tipo_Equipo"_s,
        u"Ue_Cve_Ubicacion_Equipo"_s, u"Mr_Cve_Marca"_s, u"Eq_Serie"_s, u"Eq_Numero_Economico"_s, u"Eq_Modelo"_s,
        u"Eq_Centro_Costo"_s} + AuditColumns);
    BulkInsert vehicles(m_database, u"Vehiculo"_s, QStringList{
        u"Vh_Cve_Vehiculo"_s, u"Vh_Descripcion"_s, u"Vh_Sucursal"_s, u"Vh_Tabla"_s, u"Vh_Documento"_s,
        u"Tv_Cve_Tipo_Vehiculo"_s, u"Vh_Placas"_s, u"Vh_Ejes"_s, u"Vh_Marca"_s, u"Vh_Modelo"_s,
        u"Vh_Num_Economico"_s, u"Vh_Serie"_s, u"Vh_Motor"_s, u"Vh_Capacidad_M3"_s, u"Vh_Capacidad_Peso"_s,
        u"Vh_Porcentaje_Carga"_s, u"Vh_Poliza_Seguro"_s, u"Vh_Compania_Seguro"_s, u"Vh_Inicio_Seguro"_s,
        u"Vh_Fin_Seguro"_s, u"Vh_Odometro"_s, u"Af_Cve_Activo_Fijo"_s} + AuditColumns);
    BulkInsert movements(m_database, u"Movimiento"_s,
                         {u"Mo_Entidad"_s, u"Mo_Clave"_s, u"Mo_Accion"_s, u"Mo_Operador"_s, u"Mo_Fecha"_s});
    BulkInsert log(m_database, u"Bitacora"_s,
                   {u"Bi_Tabla"_s, u"Bi_Clave"_s, u"Bi_Texto"_s, u"Bi_Operador"_s, u"Bi_Fecha"_s});
    BulkInsert extra(m_database, u"Campo_Adicional_Valor"_s,
                     {u"Ca_Tabla"_s, u"Ca_Clave"_s, u"Ca_Campo"_s, u"Ca_Valor"_s});
    BulkInsert plan(m_database, DepreciationRuns::planTable(), DepreciationRuns::planColumns());

    for (qint64 n = first; n <= last; ++n) {
        SeededRandom random(m_seed, AssetStream, quint64(n));
        const QString key = assetKey(n);

        int pick = random.between(0, m_totalWeight - 1);
        auto kindAt = refs.kinds.begin();
        while (pick >= kindAt->weight)
            pick -= (kindAt++)->weight;
        const AssetKind &kind = *kindAt;
        const int company = random.between(0, int(refs.companies.size()) - 1);

        // When it was bought, what it cost and whether it has been retired.
        const int age = random.chance(OldStockShare)
            ? random.between(60, Calendar::OldestAge)
            : std::min(Calendar::OldestAge, int(random.exponential(MeanAgeMonths)));
        const int bought = Calendar::LastRun - age;
        const QDate purchase = Calendar::firstDay(bought).addDays(random.between(0, 27));
        const qint64 cost = qint64(kind.lowCost) * 100
            + qint64(random.next() % quint64(qint64(kind.highCost - kind.lowCost) * 100 + 1));
        const bool deactivated = random.chance(DeactivatedShare);
        const int retired = deactivated ? bought + (age > 0 ? random.between(1, age) : 0) : 0;
        const int available = deactivated ? retired - bought : age;

        const Book accounting = book(cost, kind.lifeYears * 12, available);
        const Book tax = book(cost, kind.taxLifeMonths, available);
        const int posted = std::max(accounting.months, tax.months);
        const QDate lastPosting = posted > 0 ? Calendar::lastDay(bought + posted) : QDate();
        const bool cancelled = accounting.months >= 1 && accounting.months < MaxPostings
            && random.chance(CancelledShare);

        // Its cost centres: one, or two to ten distinct ones sharing 100 %.
        QVector<int> centres;
        const int parts = random.chance(SpreadShare) ? random.between(2, 10) : 1;
        while (centres.size() < parts) {
            const int centre = random.pick(refs.postableCentres);
            if (!centres.contains(centre))
                centres.append(centre);
        }
        const QString charged = ReferenceCatalogues::centreKey(centres.first());
        if (parts > 1) {
            const QVector<int> shares = quarters(random, parts);
            for (int i = 0; i < parts; ++i) {
                distribution.text(key).text(ReferenceCatalogues::centreKey(centres.at(i))).real(shares.at(i) / 4.0);
                distribution.endRow();
            }
        }

        const bool byClient = random.chance(0.2);
        const QString responsible = byClient ? random.pick(refs.clients) : random.pick(refs.employees);
        const QString serial = kind.serialPrefix + padded(purchase.year() % 100, 2)
            + padded((n * 48271 + qint64(m_seed % 100000000)) % 100000000, 8);
        const QString economic = refs.companyNames.at(company).left(3) + u'-' + kind.type + u'-' + key;
        const QString brand = random.pick(kind.brands);
        const QString model = random.pick(kind.models);
        const QString description = random.pick(kind.descriptions);

        // Who entered it and when, its last change and its retirement.
        const QString creator = random.pick(Operators);
        const QDate created = earliest(purchase.addDays(random.between(1, 20)), Calendar::Today);
        const int createdAt = random.between(8 * 3600, 19 * 3600);
        const bool modified = random.chance(ModifiedShare) && created < Calendar::Today;
        const QDate retiredOn = deactivated
            ? std::max(created, earliest(Calendar::lastDay(retired).addDays(random.between(1, 20)), Calendar::Today))
            : QDate();
        QDate changed = modified ? created.addDays(random.between(1, int(created.daysTo(Calendar::Today)))) : created;
        if (deactivated)
            changed = retiredOn;
        const int changedAt = modified || deactivated ? random.between(8 * 3600, 19 * 3600) : createdAt;
        const QString changer = modified || deactivated ? random.pick(Operators) : creator;
        const QString state = deactivated ? u"BA"_s : u"AC"_s;

        assets.text(key).text(description).text(kind.type).text(refs.companies.at(company))
            .text(random.pick(refs.locations)).text(QString()).text(QString())
            .text(parts > 1 ? QString() : charged)
            .text(random.chance(0.5) ? QString() : random.pick(refs.projects)).text(random.pick(refs.units))
            .text(kind.account).text(kind.depreciationAccount).text(u"6101"_s)
            .text(n % 3 == 0 ? u"6102"_s : QString())
            .cents(cost).text(random.pick(refs.suppliers)).text(u"F-"_s + padded(random.between(1, 9999999), 7))
            .date(purchase).text(serial).text(economic).text(brand).text(model)
            .text(byClient ? u"CL"_s : u"EM"_s).text(responsible).text(random.pick(Ratings))
            .text(u"Inventario %1"_s.arg(2024 - n % 3)).text(random.pick(Places))
            .real(random.between(0, 36)).cents(n % 5 == 0 ? cost * 16 / 100 : 0)
            .date(purchase.addYears(random.between(1, 3))).date(QDate(2024, 11, 1).addDays(random.between(0, 25)))
            .text(creator).stamp(created, createdAt).text(changer).stamp(changed, changedAt)
            .integer(kind.lifeYears).text(state);
        if (deactivated)
            assets.text(changer).stamp(retiredOn, changedAt);
        else
            assets.text(QString()).null();
        assets.cents(accounting.accumulated).cents(tax.accumulated).date(lastPosting);
        assets.endRow();

        plan.integer(n).text(key).text(charged).integer(bought + 1)
            .integer(bought + accounting.months).integer(accounting.monthly).integer(accounting.last)
            .integer(bought + tax.months).integer(tax.monthly).integer(tax.last)
            .integer(cancelled ? bought + accounting.months : 0).integer(cancelled ? accounting.monthly * 2 : 0);
        plan.endRow();

        auto audit = [&](BulkInsert &row) {
            row.text(state).text(creator).stamp(created, createdAt).text(changer).stamp(changed, changedAt);
            if (deactivated)
                row.text(changer).stamp(retiredOn, changedAt);
            else
                row.text(QString()).null();
        };
        if (kind.equipment && random.chance(EquipmentShare)) {
            equipment.text(padded(++m_equipment, 10)).text(byClient ? responsible : QString()).text(key)
                .text(refs.equipmentType).text(refs.equipmentLocation).text(refs.equipmentBrand)
                .text(serial).text(economic).text(model).text(charged);
            audit(equipment);
            equipment.endRow();
        }
        if (!kind.vehicleType.isEmpty() && random.chance(VehicleShare)) {
            ++m_vehicles;
            const bool insured = random.chance(0.6);
            const QDate cover = QDate(2024, 1, 1).addDays(random.between(0, 365));
            vehicles.text(padded(m_vehicles, 10)).text(description).text(random.pick(refs.locations))
                .text(QString()).text(QString()).text(kind.vehicleType).text(plate(m_vehicles, random))
                .integer(random.between(2, 5)).text(brand).text(QString::number(purchase.year()))
                .text(economic).text(serial).text(u"MT"_s + padded(random.between(0, 99999999), 8))
                .real(random.between(2, 60)).real(random.between(500, 30000)).real(random.between(50, 100))
                .text(insured ? u"PZ-"_s + padded(n, 9) : QString()).text(insured ? random.pick(Insurers) : QString())
                .text(insured ? cover.toString(u"dd/MM/yyyy"_s) : QString())
                .text(insured ? cover.addYears(1).toString(u"dd/MM/yyyy"_s) : QString())
                .text(QString::number(random.between(0, 450000))).text(key);
            audit(vehicles);
            vehicles.endRow();
        }

        movements.text(u"ACTIVO_FIJO"_s).text(key).text(u"ALTA"_s).text(creator).stamp(created, createdAt);
        movements.endRow();
        if (modified) {
            movements.text(u"ACTIVO_FIJO"_s).text(key).text(u"MODIFICACION"_s).text(changer).stamp(changed, changedAt);
            movements.endRow();
            if (random.chance(0.4)) {
                log.text(u"Activo_Fijo"_s).text(key).text(random.pick(LogTexts)).text(changer).stamp(changed, changedAt);
                log.endRow();
            }
        }
        if (deactivated) {
            movements.text(u"ACTIVO_FIJO"_s).text(key).text(u"BAJA"_s).text(changer).stamp(retiredOn, changedAt);
            movements.endRow();
        }
        if (random.chance(0.2)) {
            for (const QString &field : refs.extraFields) {
                QString value;
                if (field == u"POLIZA"_s)
                    value = u"PZ-"_s + padded(n, 9);
                else if (field == u"GARANTIA"_s)
                    value = purchase.addYears(2).toString(u"dd/MM/yyyy"_s);
                else
                    continue;
                extra.text(u"Activo_Fijo"_s).text(key).text(field).text(value);
                extra.endRow();
            }
        }
    }

    BulkInsert *all[] = {&assets, &distribution, &equipment, &vehicles, &movements, &log, &extra, &plan};
    qint64 rows = 0;
    for (BulkInsert *insert : all) {
        insert->flush();
        rows += insert->rows();
    }
    return rows;
}

} // namespace bench
