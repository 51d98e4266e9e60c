// The page's side of the form: the skin's primitives over the page's
// controls, the buttons' clicks, loading the calculator (linterp.js and its
// .wasm), and the choice of arrangement. What a click does is the form's, in
// the WebAssembly module.
//
// A classic script, not a module: a browser that refuses modules from a page
// opened as a file (Chromium, WebKit) still runs this one, which can then say
// why the calculator did not load.
"use strict";

// Asked for first, so that it loads while the page sets itself up.
const calculator = import("./linterp.js");

// Each control carries its row of the layout table.
const rows = [];
for (const control of document.querySelectorAll("#Form1 [data-row]")) rows[Number(control.dataset.row)] = control;
const buttons = rows.filter((control) => control instanceof HTMLButtonElement);
const message = document.querySelector("#Form1 [role=status]"); // l1

const report = document.getElementById("report");
const announce = document.getElementById("announce");
const loading = document.getElementById("loading");
const failure = document.getElementById("status");
// Shown by the script, so that a browser without scripts says only why the page cannot work.
loading.hidden = false;
let module = null;
let failed = false;
// Clicks made while the calculator loads, run once it has.
const waiting = [];
// The focus the form gives while the report box is open, given when it closes.
let heldFocus = null;

const isField = (control) => control instanceof HTMLInputElement;

const giveFocus = (control, selectText) => {
    control.focus();
    if (selectText && isField(control)) control.select();
};

const skin = {
    text(row) {
        const control = rows[row];
        if (!control) return null;
        return isField(control) ? control.value : control.textContent;
    },
    setText(row, text) {
        const control = rows[row];
        if (!control) return false;
        if (!isField(control)) {
            control.textContent = text; // l1 is a status region, read out when it changes
            return true;
        }
        control.value = text;
        // A field's value is not read out when a program sets it: say the
        // result with its label, "y = 4".
        if (text !== "") announce.textContent = `${control.labels[0]?.textContent ?? ""} ${text}`;
        return true;
    },
    focusedRow() {
        return rows.indexOf(document.activeElement);
    },
    focus(row, selectText) {
        const control = rows[row];
        if (!control) return;
        if (report.open) heldFocus = { control, selectText };
        else giveFocus(control, selectText);
    },
    showReport(text, unfinished) {
        document.getElementById("report-message").textContent = text;
        document.getElementById("report-unfinished").textContent = unfinished;
        heldFocus = null;
        report.showModal();
    },
};

report.addEventListener("close", () => {
    if (heldFocus) giveFocus(heldFocus.control, heldFocus.selectText);
    heldFocus = null;
});
document.getElementById("report-ok").addEventListener("click", () => report.close());

// Clearing needs no calculator: without one, the page empties the fields
// and the message itself.
const clearWithoutCalculator = () => {
    for (const control of rows) if (isField(control)) control.value = "";
    message.textContent = "";
};

// Opened as a file, the page is refused its module by most browsers: the
// way out is to open it from a web server.
const unavailable = () => location.protocol === "file:"
    ? "本页是直接从文件打开的，浏览器不允许它从文件载入计算部分，所以现在无法差值。"
      + "请通过网页服务器打开本页：例如在 linterp 的源码目录中运行 make run-web，再打开 http://127.0.0.1:8000/。"
    : "计算部分没能载入，现在无法差值。请检查网络连接后刷新本页。";

const click = (button) => {
    const row = rows.indexOf(button);
    if (module) module._linterp_click(row);
    else if (!failed) {
        waiting.push(row);
        loading.textContent = "正在载入计算部分……载入后马上执行这次点击。";
    } else if ("clears" in button.dataset) clearWithoutCalculator();
    else failure.textContent = unavailable(); // said again, for the screen reader
};

// Space and Enter press a focused button; Enter in a field runs nothing,
// as there is no form to submit.
for (const button of buttons) button.addEventListener("click", () => click(button));

// A field holds one line. A browser drops a pasted text's line breaks, which
// would run two pasted lines together into one number ("2.5" and "3" into
// 2.53); each becomes a space instead, as in the desktop windows.
for (const field of rows.filter(isField))
    field.addEventListener("paste", (event) => {
        const pasted = event.clipboardData?.getData("text/plain") ?? "";
        if (!/[\r\n]/.test(pasted)) return;
        event.preventDefault();
        field.setRangeText(pasted.replace(/\r\n|\r|\n/g, " "), field.selectionStart, field.selectionEnd, "end");
    });

const ready = (loaded) => {
    module = loaded;
    for (const button of buttons) button.removeAttribute("aria-disabled");
    loading.hidden = true;
    document.documentElement.dataset.ready = "";
    performance.mark("linterp-ready");
    for (const row of waiting.splice(0)) module._linterp_click(row);
};

const fail = (error) => {
    failed = true;
    if (error) console.error(error);
    loading.hidden = true;
    failure.textContent = unavailable();
    failure.hidden = false;
    for (const button of buttons) if ("clears" in button.dataset) button.removeAttribute("aria-disabled");
    for (const row of waiting.splice(0)) if ("clears" in rows[row].dataset) clearWithoutCalculator();
};

// The user's decimal separator, as the browser's first language writes 1.5.
const separator = () => {
    try {
        const part = new Intl.NumberFormat(navigator.languages).formatToParts(1.5).find((p) => p.type === "decimal");
        if (part && part.value.length === 1) return part.value;
    } catch {
        // An unknown language: the full stop.
    }
    return ".";
};

// The touch arrangement also serves where the window's boxes cannot hold
// their texts: a minimum font size the user set, or fonts wider than the
// window's. l1 is measured with the longest text it is given.
const touch = document.getElementById("touch");
const overfilled = () => {
    const form = document.getElementById("Form1");
    const style = getComputedStyle(form);
    const pixel = form.clientWidth / Number(style.getPropertyValue("--form-width"));
    // What the browser makes of a 1-pixel text, measured on drawn ideographs,
    // each one em wide: Firefox reports the size asked for, not the minimum
    // it draws with.
    const probe = document.createElement("span");
    probe.className = "font-probe";
    probe.setAttribute("aria-hidden", "true");
    probe.textContent = "值".repeat(10);
    document.body.append(probe);
    const smallest = probe.getBoundingClientRect().width / 10;
    probe.remove();
    if (smallest > pixel * Number(style.getPropertyValue("--font-size")) + 0.01) return true;
    // l1 with its longest text, in a silent copy that is gone before the next paint.
    const copy = message.cloneNode();
    copy.removeAttribute("role");
    copy.setAttribute("aria-hidden", "true");
    copy.textContent = message.dataset.longest ?? "";
    message.after(copy);
    const controls = [...form.querySelectorAll(".label, button")];
    const over = controls.some((e) => e.scrollWidth > e.clientWidth + 1);
    copy.remove();
    return over;
};
const arrange = () => {
    if (touch.media !== "all" && !matchMedia(touch.media).matches && overfilled()) touch.media = "all";
};
arrange();
document.fonts.ready.then(arrange);

// The module compiles in the background meanwhile; the browser's number
// formats take a while to load the first time.
const decimalSeparator = separator().charCodeAt(0);
calculator
    .then(({ default: createLinterp }) => createLinterp({ skin, printErr: (text) => console.error(text) }))
    .then((loaded) => {
        const focusFree = !rows.includes(document.activeElement);
        loaded._linterp_open(decimalSeparator, focusFree ? 1 : 0);
        ready(loaded);
        // Offline after the first visit, stored once the page is up so as
        // not to slow it. Pages opened from a file have no service worker.
        // The page works on without it; the console says why it will not offline.
        if ("serviceWorker" in navigator && location.protocol !== "file:")
            navigator.serviceWorker.register("sw.js").catch((error) =>
                console.warn("linterp: no offline use, the service worker was not registered:", error));
    }, fail);
