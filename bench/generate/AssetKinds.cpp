#include "bench/generate/AssetKinds.h"

using namespace Qt::StringLiterals;

namespace bench {

// Office equipment dominates a large catalogue; furniture and machinery are
// few but carry the longest depreciation histories.
const QVector<AssetKind> &AssetKinds::declared()
{
    static const QVector<AssetKind> kinds = {
        {u"001"_s, 40, u"CP"_s,
         {u"Computadora portátil 14 pulgadas"_s, u"Computadora portátil 16 pulgadas"_s,
          u"Computadora de escritorio"_s, u"Estación de trabajo para diseño"_s, u"Servidor de rack 2U"_s,
          u"Servidor de rack 1U"_s, u"Impresora láser multifuncional"_s, u"Impresora de etiquetas"_s,
          u"Monitor de 24 pulgadas"_s, u"Monitor de 27 pulgadas"_s, u"Conmutador de red de 48 puertos"_s,
          u"Tableta para captura en campo"_s, u"Lector de código de barras"_s, u"Proyector de sala de juntas"_s},
         {u"Tecnova"_s, u"Compunorte"_s, u"Altek"_s, u"Datacom"_s, u"Visiónica"_s},
         {u"TN-450"_s, u"Serie X7 Pro"_s, u"AK-2290"_s, u"Office 3000"_s, u"DC-48G"_s, u"VS-27Q"_s,
          u"Campo T10"_s, u"Rack R2"_s},
         u"1201"_s, u"1291"_s, 4500, 95000, 3, 40, false, {}},
        {u"002"_s, 8, u"VH"_s,
         {u"Camioneta de reparto"_s, u"Automóvil sedán para ventas"_s, u"Camión de carga 3.5 toneladas"_s,
          u"Camioneta pick-up doble cabina"_s, u"Motocicleta de mensajería"_s, u"Tractocamión quinta rueda"_s,
          u"Montacargas de combustión"_s},
         {u"Motora"_s, u"Rutamex"_s, u"Camionex"_s, u"Vialto"_s},
         {u"Carga Ligera"_s, u"Sedán Ejecutivo"_s, u"Torton 35"_s, u"Doble Cabina 4x2"_s, u"Mensajero 150"_s,
          u"Quinta Rueda T8"_s},
         u"1202"_s, u"1292"_s, 45000, 2400000, 4, 48, false, {}},
        {u"003"_s, 30, u"MB"_s,
         {u"Escritorio ejecutivo en L"_s, u"Escritorio operativo"_s, u"Silla ergonómica"_s,
          u"Silla de visita"_s, u"Archivero metálico de 4 gavetas"_s, u"Mesa de juntas para 10 personas"_s,
          u"Librero de madera"_s, u"Módulo de recepción"_s, u"Estantería metálica de almacén"_s,
          u"Caja fuerte de piso"_s},
         {u"OfiModern"_s, u"Mobilia"_s, u"Metalia"_s, u"Ergoplus"_s},
         {u"Ejecutiva"_s, u"Ergo 500"_s, u"Metálico AM-4"_s, u"Operativa 200"_s, u"Rack Pesado"_s},
         u"1203"_s, u"1293"_s, 1200, 38000, 10, 120, false, {}},
        {u"004"_s, 16, u"MQ"_s,
         {u"Torno CNC"_s, u"Compresor de aire industrial"_s, u"Prensa hidráulica de 50 toneladas"_s,
          u"Soldadora de arco"_s, u"Fresadora vertical"_s, u"Banda transportadora de 12 metros"_s,
          u"Planta de luz de emergencia"_s, u"Caldera de vapor"_s, u"Cortadora láser de lámina"_s},
         {u"IndRegia"_s, u"Metalmec"_s, u"Potencia"_s, u"Termotec"_s},
         {u"CNC-1600"_s, u"Aire 300"_s, u"PH-50"_s, u"Arco 250A"_s, u"FV-3"_s, u"BT-12"_s, u"GE-150"_s},
         u"1204"_s, u"1294"_s, 25000, 3500000, 10, 120, false, {}},
        {u"005"_s, 6, u"UM"_s,
         {u"Unidad móvil de servicio técnico"_s, u"Unidad móvil de radiocomunicación"_s,
          u"Unidad móvil de laboratorio"_s, u"Grúa de servicio en carretera"_s},
         {u"Rutamex"_s, u"Telenor"_s, u"Camionex"_s},
         {u"Servicio 4x4"_s, u"Enlace Móvil"_s, u"Lab Rodante"_s, u"Grúa G5"_s},
         u"1205"_s, u"1292"_s, 320000, 1800000, 4, 48, false, {}},
    };
    return kinds;
}

} // namespace bench
