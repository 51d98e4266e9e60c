// The page's side of the form: the skin's primitives over the page's
// controls, the buttons' clicks, and loading the calculator (linterp.js and
// its .wasm). What a click does is the form's, in the WebAssembly module.
"use strict";

(() => {
    // Each control carries its row of the layout table.
    const rows = [];
    for (const control of document.querySelectorAll("#Form1 [data-row]")) rows[Number(control.dataset.row)] = control;

    const report = document.getElementById("report");
    const announce = document.getElementById("announce");
    const status = document.getElementById("status");
    let module = null;
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
        showReport(message, unfinished) {
            document.getElementById("report-message").textContent = message;
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

    // Space and Enter press a focused button; Enter in a field runs nothing,
    // as there is no form to submit.
    rows.forEach((control, row) => {
        if (control instanceof HTMLButtonElement) {
            control.addEventListener("click", () => {
                if (module) module._linterp_click(row);
            });
        }
    });

    const failed = () => {
        status.textContent = "计算部分没能载入，现在无法差值。请检查网络连接后刷新本页。";
        status.hidden = false;
        for (const control of rows) if (control instanceof HTMLButtonElement) control.disabled = true;
    };

    // The user's decimal separator, as the browser's first language writes 1.5.
    const separator = () => {
        try {
            const part = new Intl.NumberFormat(navigator.languages).formatToParts(1.5).find((p) => p.type === "decimal");
            if (part && part.value.length === 1) return part.value;
        } catch (error) {
            // An unknown language: the full stop.
        }
        return ".";
    };

    if (typeof createLinterp !== "function") {
        failed();
        return;
    }
    // The module compiles in the background meanwhile; the browser's number
    // formats take a while to load the first time.
    const loading = createLinterp({ skin, print: () => {}, printErr: () => {} });
    const decimalSeparator = separator().charCodeAt(0);
    loading.then(
        (loaded) => {
            module = loaded;
            const focusFree = !rows.includes(document.activeElement);
            module._linterp_open(decimalSeparator, focusFree ? 1 : 0);
            document.documentElement.dataset.ready = "";
            performance.mark("linterp-ready");
            // Offline after the first visit, stored once the page is up so
            // as not to slow it. Pages opened from a file have no service worker.
            if ("serviceWorker" in navigator && location.protocol !== "file:")
                navigator.serviceWorker.register("sw.js").catch(() => {});
        },
        failed,
    );
})();
