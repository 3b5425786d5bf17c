#include <array>

#include "text/lang_table_check.h"
#include "text/lang_text.h"
#include "text/language_texts.h"

namespace fwup {
namespace {

// Japanese speaks in the polite です/ます form of Japanese Windows and printer manuals and says
// "ファームウェア" and "更新" (the Windows word, shorter than アップデート in the fixed window)
// throughout. The punctuation is full-width, a label ends in "：", the printer's keys stand in 「」
// with the English name the panel shows after them, and a half-width blank separates Latin words
// and figures from Japanese ones, as Japanese Windows does.
constexpr std::array<LangTextEntry, 44> kJapaneseTexts{{
    {TXT_TITLE, L"Viruzu ファームウェア更新ツール"},
    {TXT_RETRY_OR_CONTACT,
     L"プリンターを再起動してもう一度更新するか、Viruzu のサポート窓口にお問い合わせ"
     L"ください。"},
    {TXT_NOTICE_HANDS_OFF, L"注意：更新中は、プリンターとパソコンを操作しないでください。"},
    {TXT_RESTART_PRINTER, L"プリンターを再起動してください。"},
    {TXT_CONFIRM_ON_PRINTER,
     L"プリンターの更新準備ができました。プリンターでもう一度確認してください。\r\n"
     L"1. 更新を実行する場合は、「スタート」（Start）ボタンを押してください。\r\n"
     L"2. 更新を中止する場合は、「キャンセル」（Cancel）ボタンを押してください。"},
    {TXT_NOT_READY,
     L"プリンターの準備ができていない場合は、待機状態またはスリープ状態にしてから、"
     L"更新ツールをもう一度実行してください。"},
    {TXT_NOT_CONNECTED,
     L"Viruzu プリンターが接続されていない場合は、USB ケーブルが正しく接続されているか確認して"
     L"ください。"},
    {TXT_UPGRADING, L"ファームウェアを更新中です。しばらくお待ちください\u2026"},
    {TXT_TRANSMITTING, L"データを送信しています。しばらくお待ちください\u2026"},
    {TXT_SUCCEEDED, L"ファームウェアの更新が正常に完了しました。"},
    {TXT_FAILED, L"ファームウェアの更新に失敗しました。"},
    {TXT_VERSION_HIGHER,
     L"プリンターの現在のファームウェアバージョンは、更新先のバージョンより新しいです。"},
    {TXT_VERSION_SAME,
     L"プリンターの現在のファームウェアバージョンは、更新先のバージョンと同じです。"},
    {TXT_CANCELED, L"更新はキャンセルされました。"},
    {TXT_STEPS,
     L"注意：更新中はプリンターとパソコンの電源を切らないでください。\r\n"
     L"\r\n"
     L"\r\n"
     L"更新の手順：\r\n"
     L"\r\n"
     L"1. プリンターの電源を入れ、待機またはスリープ状態にします。\r\n"
     L"2. USB ケーブルでプリンターとパソコンを接続します。\r\n"},
    {TXT_TIPS,
     L"ヒント：\r\n"
     L"1. 一度に更新できるのは、接続した Viruzu プリンター 1 台だけです。\r\n"
     L"2. この更新ツールの対応プリンターシリーズ：\r\n"},
    {TXT_COMPLETE, L"完了"},
    {TXT_START, L"更新を開始"},
    {TXT_EXIT, L"終了"},
    {TXT_FONT_FACE, L"Meiryo UI"},
    {TXT_CLOSE_ITEM, L"閉じる(&C)"},
    {TXT_NEW_DRIVER,
     L"ファームウェアの更新後は、新しいドライバーでプリンターを使用する必要があります。"
     L"詳しくは、更新ツールの操作ガイドを参照してください。"},
    {TXT_PORT_OCCUPIED, L"プリンターのポートが使用中のため、ファームウェアを更新できません。"},
    {TXT_CONFIRM, L"OK"},
    {TXT_YES, L"はい"},
    {TXT_NO, L"いいえ"},
    {TXT_FW_UNRECOGNIZED,
     L"プリンターのファームウェアを認識できません。Viruzu のサポート窓口にお問い合わせください。"},
    {TXT_KEEP_POWER_ON, L"更新が完了するまで、プリンターの電源を切らないでください。"},
    {TXT_PRINTER_IN_USE,
     L"このプリンターでは別の更新を実行中です。終了するまで待ってから、もう一度お試し"
     L"ください。"},
    {TXT_LOW_BATTERY,
     L"パソコンのバッテリー残量がわずかです。パソコンを AC 電源に接続してから、もう一度お試し"
     L"ください。"},
    {TXT_PRINTERS_NONE,
     L"対応しているプリンターが接続されていません。プリンターの電源を入れ、USB ケーブルで"
     L"パソコンに接続してください。"},
    {TXT_PRINTER_CHOSEN, L"更新するプリンター："},
    {TXT_PRINTERS_CHOOSE, L"複数のプリンターが接続中です。更新するプリンターを選択："},
    {TXT_SERIAL, L"シリアル番号"},
    {TXT_PRINTER, L"プリンター："},
    {TXT_FIRMWARE, L"ファームウェア："},
    {TXT_BYTES, L"バイト"},
    {TXT_TIME_LEFT, L"残り時間："},
    {TXT_FOLLOW_WAITING,
     L"新しいファームウェアでプリンターが再起動するのを待っています。電源を切らないでください。"
     L"経過時間："},
    {TXT_FOLLOW_CURRENT, L"プリンターが再起動し、新しいファームウェアで動作しています："},
    {TXT_FOLLOW_NOT_TAKEN,
     L"プリンターは再起動しましたが、新しいファームウェアは適用されていません。動作中の"
     L"バージョン："},
    {TXT_FOLLOW_NOT_BACK,
     L"プリンターが 10 分以内に再接続されませんでした。ファームウェアをまだ書き込んでいる可能性"
     L"があります。電源を切らないでください。使用する前に、プリンターの操作パネルを確認して"
     L"ください。"},
    {TXT_FOLLOW_UNKNOWN,
     L"接続中の 2 台のプリンターがどちらもこのプリンターの ID を使用しているため、現在動作して"
     L"いるファームウェアを読み取れません。プリンターの操作パネルでバージョンを確認して"
     L"ください。"},
    {TXT_PRINTERS_ATTACHED, L"接続中のプリンター数："},
}};
static_assert(IsWellFormed(kJapaneseTexts));

}  // namespace

std::span<const LangTextEntry> JapaneseTexts() {
    return kJapaneseTexts;
}

}  // namespace fwup
