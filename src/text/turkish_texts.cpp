#include <array>

#include "text/lang_table_check.h"
#include "text/lang_text.h"
#include "text/language_texts.h"

namespace fwup {
namespace {

// Turkish uses "ürün yazılımı" for firmware, the term of Turkish operating systems and printer
// manuals, and the polite imperative of software dialogs.
constexpr std::array<LangTextEntry, 44> kTurkishTexts{{
    {TXT_TITLE, L"Viruzu Ürün Yazılımı Güncelleme Aracı"},
    {TXT_RETRY_OR_CONTACT,
     L"Güncellemeyi yeniden denemek için yazıcıyı yeniden başlatın veya Viruzu müşteri "
     L"hizmetleriyle iletişime geçin."},
    {TXT_NOTICE_HANDS_OFF,
     L"Dikkat: Güncelleme sırasında lütfen yazıcıda ve bilgisayarda hiçbir işlem yapmayın."},
    {TXT_RESTART_PRINTER, L"Lütfen yazıcıyı yeniden başlatın."},
    {TXT_CONFIRM_ON_PRINTER,
     L"Yazıcı güncellemeye hazır. Lütfen yazıcı üzerinden yeniden onaylayın:\r\n"
     L"1. Güncellemeyi onaylamak için “Başlat” (“Start”) düğmesine basın;\r\n"
     L"2. Güncelleme işlemini iptal etmek için “İptal” (“Cancel”) düğmesine basın."},
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
    {TXT_KEEP_POWER_ON, L"Güncelleme tamamlanmadan yazıcıyı kapatmayın."},
    {TXT_PRINTER_IN_USE,
     L"Bu yazıcıda başka bir güncelleme sürüyor. Bitmesini bekleyip yeniden deneyin."},
    {TXT_LOW_BATTERY,
     L"Bilgisayarın pili bitmek üzere. Bilgisayarı elektrik prizine bağlayıp yeniden deneyin."},
    {TXT_PRINTERS_NONE,
     L"Desteklenen bir yazıcı bağlı değil. Yazıcıyı açın ve bir USB kablosuyla bilgisayara "
     L"bağlayın."},
    {TXT_PRINTER_CHOSEN, L"Güncellenecek yazıcı:"},
    {TXT_PRINTERS_CHOOSE, L"Birden fazla yazıcı bağlı. Güncellenecek yazıcıyı seçin:"},
    {TXT_SERIAL, L"seri numarası"},
    {TXT_PRINTER, L"Yazıcı:"},
    {TXT_FIRMWARE, L"Ürün yazılımı:"},
    {TXT_BYTES, L"bayt"},
    {TXT_TIME_LEFT, L"Kalan süre:"},
    {TXT_FOLLOW_WAITING,
     L"Yazıcının yeni ürün yazılımıyla yeniden başlaması bekleniyor. Yazıcıyı kapatmayın. Geçen "
     L"süre:"},
    {TXT_FOLLOW_CURRENT, L"Yazıcı yeniden başladı ve yeni ürün yazılımıyla çalışıyor:"},
    {TXT_FOLLOW_NOT_TAKEN,
     L"Yazıcı yeniden başladı ancak yeni ürün yazılımına geçmedi. Çalışan sürüm:"},
    {TXT_FOLLOW_NOT_BACK,
     L"Yazıcı 10 dakika içinde yeniden bağlanmadı. Ürün yazılımını hâlâ yüklüyor olabilir: "
     L"yazıcıyı kapatmayın ve kullanmadan önce panelini kontrol edin."},
    {TXT_FOLLOW_UNKNOWN,
     L"Bağlı iki yazıcı bu yazıcının kimliğini taşıyor, bu nedenle yazıcının şu anda "
     L"çalıştırdığı ürün yazılımı okunamıyor. Sürümü yazıcının panelinden kontrol edin."},
    {TXT_PRINTERS_ATTACHED, L"Bağlı yazıcılar:"},
}};
static_assert(IsWellFormed(kTurkishTexts));

}  // namespace

std::span<const LangTextEntry> TurkishTexts() {
    return kTurkishTexts;
}

}  // namespace fwup
