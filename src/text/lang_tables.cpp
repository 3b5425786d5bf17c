#include "text/lang_tables.h"

#include <array>

#include "text/lang_table_check.h"
#include "text/lang_text.h"
#include "text/translated_tables.h"

namespace fwup {
namespace {

// Ids 19 and 20 are settings, not translations: the face name of the window fonts and the caption
// of the system menu's close item where the platform has none. The Chinese values stay in the
// Latin-script tables too; Turkish and Russian need a face that carries their letters.

constexpr std::array<LangTextEntry, 29> EnglishTexts{{
    {TXT_TITLE, L"Viruzu  Firmware Upgrade Tool"},
    {TXT_RETRY_OR_CONTACT,
     L"Please restart the printer to upgrade again, or contact the Viruzu customer service "
     L"staff."},
    {TXT_NOTICE_HANDS_OFF,
     L"Notice: During the upgrade, please do not carry out any operation on the printer and "
     L"computer."},
    {TXT_RESTART_PRINTER, L"Please restart the printer."},
    {TXT_CONFIRM_ON_PRINTER,
     L"The printer is ready for upgrade, please reconfirm on the printer:\r\n"
     L"1. Press the \"Start\" button to confirm the upgrade;\r\n"
     L"2. Press the \"Cancel\" button to cancel the upgrade task."},
    {TXT_NOT_READY,
     L"If the printer is not ready, please reset the printer to the ready or sleep state, and "
     L"rerun the upgrade tool."},
    {TXT_NOT_CONNECTED,
     L"If the Viruzu printer is not connected, please check whether the USB cable is connected "
     L"properly."},
    {TXT_UPGRADING, L"The firmware is upgrading, please wait\u2026"},
    {TXT_TRANSMITTING, L"The data is being transmitted, please wait\u2026"},
    {TXT_SUCCEEDED, L"The firmware upgrade is successful."},
    {TXT_FAILED, L"The firmware upgrade is failed."},
    {TXT_VERSION_HIGHER,
     L"The current firmware version of the printer is higher than the version to be upgraded "
     L"to"},
    {TXT_VERSION_SAME,
     L"The current firmware version of the printer is the same with the version to be upgraded "
     L"to"},
    {TXT_CANCELED, L"The upgrade task has been canceled."},
    {TXT_STEPS,
     L"Notice: Please do not turn off the printer and the computer during the upgrade.\r\n"
     L"\r\n"
     L"\r\n"
     L"The upgrade steps are as follows:\r\n"
     L"\r\n"
     L"1. Please turn on the printer, and set it to the ready or sleep state;\r\n"
     L"2. Use a USB cable to connect the printer and the computer;\r\n"},
    {TXT_TIPS,
     L"Tips:\r\n"
     L"1. This upgrade tool can only support being connected to one Viruzu printer for upgrade "
     L"at a time.\r\n"
     L"2. The printer series supported by this version of upgrade tool:\r\n"},
    {TXT_COMPLETE, L"Complete"},
    {TXT_START, L"Start to upgrade"},
    {TXT_EXIT, L"Exit"},
    {TXT_FONT_FACE, L"宋体"},
    {TXT_CLOSE_ITEM, L"关闭(&C)"},
    {TXT_NEW_DRIVER,
     L"The printer shall be used with the new driver after the firmware upgrade, please check "
     L"the operation guide for upgrade tools."},
    {TXT_PORT_OCCUPIED, L"The printer port is occupied, and the firmware cannot be upgraded."},
    {TXT_CONFIRM, L"Confirm"},
    {TXT_YES, L"Yes"},
    {TXT_NO, L"No"},
    {TXT_FW_UNRECOGNIZED,
     L"Unable to recognize the firmware in the printer, please contact Viruzu customer service."},
    {TXT_KEEP_POWER_ON, L"Please do not turn off the printer before upgrading."},
    {TXT_PRINTER_IN_USE,
     L"Another upgrade is running on this printer. Wait until it has ended, then try again."},
}};

// Italian follows the impersonal infinitive of Italian manuals and dialogs ("Riavviare la
// stampante"); "No" is the same word as in English.
constexpr std::array<LangTextEntry, 27> ItalianTexts{{
    {TXT_TITLE, L"Strumento di aggiornamento firmware Viruzu"},
    {TXT_RETRY_OR_CONTACT,
     L"Riavviare la stampante per ripetere l'aggiornamento oppure contattare l'assistenza clienti "
     L"Viruzu."},
    {TXT_NOTICE_HANDS_OFF,
     L"Attenzione: durante l'aggiornamento non eseguire alcuna operazione sulla stampante né sul "
     L"computer."},
    {TXT_RESTART_PRINTER, L"Riavviare la stampante."},
    {TXT_CONFIRM_ON_PRINTER,
     L"La stampante è pronta per l'aggiornamento. Confermare di nuovo sulla stampante:\r\n"
     L"1. Premere il pulsante \"Avvio\" per confermare l'aggiornamento;\r\n"
     L"2. Premere il pulsante \"Annulla\" per annullare l'aggiornamento."},
    {TXT_NOT_READY,
     L"Se la stampante non è pronta, riportarla in stato di pronto o in modalità di sospensione "
     L"e avviare di nuovo lo strumento di aggiornamento."},
    {TXT_NOT_CONNECTED,
     L"Se la stampante Viruzu non risulta collegata, verificare che il cavo USB sia collegato "
     L"correttamente."},
    {TXT_UPGRADING, L"Aggiornamento del firmware in corso, attendere\u2026"},
    {TXT_TRANSMITTING, L"Trasferimento dei dati in corso, attendere\u2026"},
    {TXT_SUCCEEDED, L"Aggiornamento del firmware completato correttamente."},
    {TXT_FAILED, L"Aggiornamento del firmware non riuscito."},
    {TXT_VERSION_HIGHER,
     L"La versione del firmware installata nella stampante è superiore a quella da installare."},
    {TXT_VERSION_SAME,
     L"La versione del firmware installata nella stampante è uguale a quella da installare."},
    {TXT_CANCELED, L"L'aggiornamento è stato annullato."},
    {TXT_STEPS,
     L"Attenzione: non spegnere la stampante né il computer durante l'aggiornamento.\r\n"
     L"\r\n"
     L"\r\n"
     L"Procedura di aggiornamento:\r\n"
     L"\r\n"
     L"1. Accendere la stampante e portarla in stato di pronto o in modalità di sospensione;\r\n"
     L"2. Collegare la stampante al computer con un cavo USB;\r\n"},
    {TXT_TIPS,
     L"Note:\r\n"
     L"1. Questo strumento aggiorna una sola stampante Viruzu collegata alla volta.\r\n"
     L"2. Serie di stampanti supportate da questa versione dello strumento di aggiornamento:\r\n"},
    {TXT_COMPLETE, L"Fine"},
    {TXT_START, L"Avvia aggiornamento"},
    {TXT_EXIT, L"Esci"},
    {TXT_FONT_FACE, L"宋体"},
    {TXT_CLOSE_ITEM, L"关闭(&C)"},
    {TXT_NEW_DRIVER,
     L"Dopo l'aggiornamento del firmware la stampante deve essere utilizzata con il nuovo "
     L"driver. Consultare la guida all'uso dello strumento di aggiornamento."},
    {TXT_PORT_OCCUPIED,
     L"La porta della stampante è occupata: impossibile aggiornare il firmware."},
    {TXT_CONFIRM, L"OK"},
    {TXT_YES, L"Sì"},
    {TXT_NO, L"No"},
    {TXT_FW_UNRECOGNIZED,
     L"Impossibile riconoscere il firmware della stampante. Contattare l'assistenza clienti "
     L"Viruzu."},
}};

// Turkish uses "ürün yazılımı" for firmware, the term of Turkish operating systems and printer
// manuals, and the polite imperative of software dialogs.
constexpr std::array<LangTextEntry, 27> TurkishTexts{{
    {TXT_TITLE, L"Viruzu Ürün Yazılımı Güncelleme Aracı"},
    {TXT_RETRY_OR_CONTACT,
     L"Güncellemeyi yeniden denemek için yazıcıyı yeniden başlatın veya Viruzu müşteri "
     L"hizmetleriyle iletişime geçin."},
    {TXT_NOTICE_HANDS_OFF,
     L"Dikkat: Güncelleme sırasında lütfen yazıcıda ve bilgisayarda hiçbir işlem yapmayın."},
    {TXT_RESTART_PRINTER, L"Lütfen yazıcıyı yeniden başlatın."},
    {TXT_CONFIRM_ON_PRINTER,
     L"Yazıcı güncellemeye hazır. Lütfen yazıcı üzerinden yeniden onaylayın:\r\n"
     L"1. Güncellemeyi onaylamak için \"Başlat\" düğmesine basın;\r\n"
     L"2. Güncelleme işlemini iptal etmek için \"İptal\" düğmesine basın."},
    {TXT_NOT_READY,
     L"Yazıcı hazır değilse yazıcıyı hazır veya uyku durumuna getirin ve güncelleme aracını "
     L"yeniden çalıştırın."},
    {TXT_NOT_CONNECTED,
     L"Viruzu yazıcısı bağlı değilse USB kablosunun düzgün takılıp takılmadığını kontrol edin."},
    {TXT_UPGRADING, L"Ürün yazılımı güncelleniyor, lütfen bekleyin\u2026"},
    {TXT_TRANSMITTING, L"Veriler aktarılıyor, lütfen bekleyin\u2026"},
    {TXT_SUCCEEDED, L"Ürün yazılımı güncellemesi başarıyla tamamlandı."},
    {TXT_FAILED, L"Ürün yazılımı güncellemesi başarısız oldu."},
    {TXT_VERSION_HIGHER,
     L"Yazıcının mevcut ürün yazılımı sürümü, yüklenecek sürümden daha yüksek."},
    {TXT_VERSION_SAME, L"Yazıcının mevcut ürün yazılımı sürümü, yüklenecek sürümle aynı."},
    {TXT_CANCELED, L"Güncelleme işlemi iptal edildi."},
    {TXT_STEPS,
     L"Dikkat: Güncelleme sırasında lütfen yazıcıyı ve bilgisayarı kapatmayın.\r\n"
     L"\r\n"
     L"\r\n"
     L"Güncelleme adımları şunlardır:\r\n"
     L"\r\n"
     L"1. Yazıcıyı açın ve hazır veya uyku durumuna getirin;\r\n"
     L"2. Yazıcıyı bir USB kablosuyla bilgisayara bağlayın;\r\n"},
    {TXT_TIPS,
     L"Notlar:\r\n"
     L"1. Bu araçla aynı anda yalnızca bağlı tek bir Viruzu yazıcısı güncellenebilir.\r\n"
     L"2. Güncelleme aracının bu sürümünün desteklediği yazıcı serileri:\r\n"},
    {TXT_COMPLETE, L"Bitir"},
    {TXT_START, L"Güncellemeyi başlat"},
    {TXT_EXIT, L"Çıkış"},
    {TXT_FONT_FACE, L"Times New Roman"},
    {TXT_CLOSE_ITEM, L"关闭(&C)"},
    {TXT_NEW_DRIVER,
     L"Ürün yazılımı güncellendikten sonra yazıcı yeni sürücüyle kullanılmalıdır. Lütfen "
     L"güncelleme aracının kullanım kılavuzuna bakın."},
    {TXT_PORT_OCCUPIED, L"Yazıcı bağlantı noktası meşgul, ürün yazılımı güncellenemiyor."},
    {TXT_CONFIRM, L"Tamam"},
    {TXT_YES, L"Evet"},
    {TXT_NO, L"Hayır"},
    {TXT_FW_UNRECOGNIZED,
     L"Yazıcıdaki ürün yazılımı tanınamadı. Lütfen Viruzu müşteri hizmetleriyle iletişime "
     L"geçin."},
}};

// Russian uses "микропрограмма", the term of Russian printer manuals, and guillemets around the
// printer's button names as Russian typography asks.
constexpr std::array<LangTextEntry, 27> RussianTexts{{
    {TXT_TITLE, L"Утилита обновления микропрограммы Viruzu"},
    {TXT_RETRY_OR_CONTACT,
     L"Чтобы повторить обновление, перезапустите принтер или обратитесь в службу поддержки "
     L"Viruzu."},
    {TXT_NOTICE_HANDS_OFF,
     L"Внимание! Во время обновления не выполняйте никаких действий с принтером и компьютером."},
    {TXT_RESTART_PRINTER, L"Перезапустите принтер."},
    {TXT_CONFIRM_ON_PRINTER,
     L"Принтер готов к обновлению. Подтвердите действие на панели принтера:\r\n"
     L"1. Нажмите кнопку «Пуск», чтобы подтвердить обновление;\r\n"
     L"2. Нажмите кнопку «Отмена», чтобы отменить обновление."},
    {TXT_NOT_READY,
     L"Если принтер не готов, переведите его в состояние готовности или в спящий режим и снова "
     L"запустите утилиту обновления."},
    {TXT_NOT_CONNECTED,
     L"Если принтер Viruzu не подключен, проверьте, правильно ли подсоединен USB-кабель."},
    {TXT_UPGRADING, L"Выполняется обновление микропрограммы, подождите\u2026"},
    {TXT_TRANSMITTING, L"Идёт передача данных, подождите\u2026"},
    {TXT_SUCCEEDED, L"Микропрограмма успешно обновлена."},
    {TXT_FAILED, L"Не удалось обновить микропрограмму."},
    {TXT_VERSION_HIGHER, L"Текущая версия микропрограммы принтера выше устанавливаемой."},
    {TXT_VERSION_SAME, L"Текущая версия микропрограммы принтера совпадает с устанавливаемой."},
    {TXT_CANCELED, L"Обновление отменено."},
    {TXT_STEPS,
     L"Внимание! Не выключайте принтер и компьютер во время обновления.\r\n"
     L"\r\n"
     L"\r\n"
     L"Порядок обновления:\r\n"
     L"\r\n"
     L"1. Включите принтер и переведите его в состояние готовности или в спящий режим;\r\n"
     L"2. Подключите принтер к компьютеру с помощью USB-кабеля;\r\n"},
    {TXT_TIPS,
     L"Примечания:\r\n"
     L"1. Утилита обновляет только один подключенный принтер Viruzu за раз.\r\n"
     L"2. Серии принтеров, поддерживаемые этой версией утилиты обновления:\r\n"},
    {TXT_COMPLETE, L"Готово"},
    {TXT_START, L"Начать обновление"},
    {TXT_EXIT, L"Выход"},
    {TXT_FONT_FACE, L"Times New Roman"},
    {TXT_CLOSE_ITEM, L"关闭(&C)"},
    {TXT_NEW_DRIVER,
     L"После обновления микропрограммы принтер следует использовать с новым драйвером. "
     L"Подробнее см. в руководстве по работе с утилитой обновления."},
    {TXT_PORT_OCCUPIED, L"Порт принтера занят, обновить микропрограмму невозможно."},
    {TXT_CONFIRM, L"ОК"},
    {TXT_YES, L"Да"},
    {TXT_NO, L"Нет"},
    {TXT_FW_UNRECOGNIZED,
     L"Не удалось распознать микропрограмму принтера. Обратитесь в службу поддержки Viruzu."},
}};

static_assert(IsWellFormed(EnglishTexts));
static_assert(IsWellFormed(ItalianTexts));
static_assert(IsWellFormed(TurkishTexts));
static_assert(IsWellFormed(RussianTexts));

constexpr std::array<LangTextEntry, 1> ItalianAddedTexts{{
    {TXT_PRINTER_IN_USE,
     L"Su questa stampante è in corso un altro aggiornamento. Attendere che termini, quindi "
     L"riprovare."},
}};
constexpr std::array<LangTextEntry, 1> TurkishAddedTexts{{
    {TXT_PRINTER_IN_USE,
     L"Bu yazıcıda başka bir güncelleme sürüyor. Bitmesini bekleyin, ardından yeniden deneyin."},
}};
constexpr std::array<LangTextEntry, 1> RussianAddedTexts{{
    {TXT_PRINTER_IN_USE,
     L"На этом принтере уже выполняется другое обновление. Дождитесь его завершения и "
     L"повторите попытку."},
}};

static_assert(IsWellFormed(ItalianAddedTexts, kFirstAddedTextId));
static_assert(IsWellFormed(TurkishAddedTexts, kFirstAddedTextId));
static_assert(IsWellFormed(RussianAddedTexts, kFirstAddedTextId));

}  // namespace

std::span<const LangTextEntry> LangTableFor(std::uint16_t primaryLangId) {
    switch (primaryLangId) {
        case LANG_ITALIAN:
            return ItalianTexts;
        case LANG_TURKISH:
            return TurkishTexts;
        case LANG_RUSSIAN:
            return RussianTexts;
        case LANG_HEBREW:
            return HebrewTexts();
        case LANG_CHINESE:
            return ChineseTexts();
        case LANG_GERMAN:
            return GermanTexts();
        case LANG_FRENCH:
            return FrenchTexts();
        case LANG_SPANISH:
            return SpanishTexts();
        case LANG_PORTUGUESE:
            return PortugueseTexts();
        case LANG_POLISH:
            return PolishTexts();
        default:
            return EnglishTexts;
    }
}

std::span<const LangTextEntry> AddedTextsFor(std::uint16_t primaryLangId) {
    switch (primaryLangId) {
        case LANG_ITALIAN:
            return ItalianAddedTexts;
        case LANG_TURKISH:
            return TurkishAddedTexts;
        case LANG_RUSSIAN:
            return RussianAddedTexts;
        default:
            return {};
    }
}

}  // namespace fwup
